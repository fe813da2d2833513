#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# qvt2.fit against scipy.optimize.curve_fit in the same run, on the same data and start: each
# built-in nonlinear model on 16,385 noisy samples (the damped sine is fit_bench.cpp's) started
# 0.1 % away from the minimum, the damped sine also at the minimum and 1 % away, and the damped
# sine as a formula of the evaluator. Prints median processor times, their ratio (goal for the
# built-in models: qvt2.fit no slower, ratio <= 1) and the passes over the points each made
# (ours: one per trial point, its derivatives included; curve_fit's: its function calls, the
# differences of its Jacobian included). Run with the built module on PYTHONPATH:
#   PYTHONPATH=build/dev/python /usr/bin/python3 bench/python_fit.py [repeats]
import statistics
import sys
import time

import numpy as np
from scipy.optimize import curve_fit

import qvt2

repeats = int(sys.argv[1]) if len(sys.argv) > 1 else 30
pi = np.pi
t = np.arange(16385) * 1e-5
noise = np.random.default_rng(5).normal(0, 0.05, t.size)
DAMPED = "A*EXP(-t/tau)*SIN(2*PI*f*t+phi)+B"
# name: (function, true values, starts as factors of the minimum)
MODELS = {
    "exponential": (lambda x, A, tau, B: A * np.exp(-x / tau) + B, [4.0, 0.03, 0.8], [1.001]),
    "charge": (lambda x, A, tau, B: A * (1 - np.exp(-x / tau)) + B, [5.0, 0.02, 0.2], [1.001]),
    "sine": (
        lambda x, A, f, phi, B: A * np.sin(2 * pi * f * x + phi) + B,
        [2.0, 150.0, 0.6, 0.3],
        [1.001],
    ),
    "damped_sine": (
        lambda x, A, tau, f, phi, B: A * np.exp(-x / tau) * np.sin(2 * pi * f * x + phi) + B,
        [4.0, 0.04, 300.0, 0.4, 0.1],
        [1.0, 1.001, 1.01],
    ),
    "power": (lambda x, A, n: A * x**n, [30.0, 0.5], [1.001]),
    "gaussian": (
        lambda x, A, mu, sigma, B: A * np.exp(-((x - mu) ** 2) / (2 * sigma**2)) + B,
        [3.0, 0.08, 0.01, 0.4],
        [1.001],
    ),
}


def median_ms(call):
    times = []
    for _ in range(repeats):
        start = time.process_time()
        call()
        times.append(time.process_time() - start)
    return 1e3 * statistics.median(times)


def compare(label, model, f, y, p0, names):
    start = dict(zip(names, p0))
    ours = median_ms(lambda: qvt2.fit(t, y, model, start=start))
    theirs = median_ms(lambda: curve_fit(f, t, y, p0=p0))
    passes = qvt2.fit(t, y, model, start=start).nfev
    calls = curve_fit(f, t, y, p0=p0, full_output=True)[2]["nfev"]
    print(f"{label:<26} qvt2.fit {ours:6.2f}  curve_fit {theirs:6.2f}  ratio {ours / theirs:5.2f}"
          f"  passes {passes:3d} against {calls:3d}")
    return ours / theirs


print(f"{t.size} noisy samples, median of {repeats} (processor ms)")
worst = 0.0
for model, (f, true, factors) in MODELS.items():
    y = f(t, *true) + noise
    best = qvt2.fit(t, y, model)
    names = list(best.params)
    minimum = [best.params[k] for k in names]
    for factor in factors:
        label = f"{model}, start {factor} x"
        worst = max(worst, compare(label, model, f, y, [v * factor for v in minimum], names))
    if model == "damped_sine":
        compare("damped sine as a formula", DAMPED, f, y, [v * 1.001 for v in minimum], names)
print(f"built-in models: worst ratio {worst:.2f} (goal <= 1)")
