#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# qvt2.fit against scipy.optimize.curve_fit in the same run, on the same data and start: a
# damped sine of 16,385 noisy samples (fit_bench.cpp's), the built-in model started at the
# minimum and 0.1 % and 1 % away from it. Prints median processor times and their ratio (goal:
# qvt2.fit no slower, ratio <= 1). Run with the built module on PYTHONPATH:
#   PYTHONPATH=build/dev/python /usr/bin/python3 bench/python_fit.py [repeats]
import statistics
import sys
import time

import numpy as np
from scipy.optimize import curve_fit

import qvt2

repeats = int(sys.argv[1]) if len(sys.argv) > 1 else 30
names = ["A", "tau", "f", "phi", "B"]
t = np.arange(16385) * 1e-5
y = 4 * np.exp(-t / 0.04) * np.sin(2 * np.pi * 300 * t + 0.4) + 0.1
y += np.random.default_rng(5).normal(0, 0.05, t.size)


def damped_sine(x, A, tau, f, phi, B):
    return A * np.exp(-x / tau) * np.sin(2 * np.pi * f * x + phi) + B


def median_ms(call):
    times = []
    for _ in range(repeats):
        start = time.process_time()
        call()
        times.append(time.process_time() - start)
    return 1e3 * statistics.median(times)


best = qvt2.fit(t, y, "damped_sine")
minimum = [best.params[k] for k in names]
print(f"damped sine, {t.size} samples, median of {repeats} (processor ms)")
for factor in (1.0, 1.001, 1.01):
    p0 = [v * factor for v in minimum]
    start = dict(zip(names, p0))
    ours = median_ms(lambda: qvt2.fit(t, y, "damped_sine", start=start))
    theirs = median_ms(lambda: curve_fit(damped_sine, t, y, p0=p0))
    print(f"start {factor:<5} x minimum: qvt2.fit {ours:6.2f}  curve_fit {theirs:6.2f}  "
          f"ratio {ours / theirs:5.2f}")
