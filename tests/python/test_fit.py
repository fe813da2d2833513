# SPDX-License-Identifier: GPL-3.0-or-later
# qvt2.fit against scipy.optimize.curve_fit on the same points and starting values: every
# built-in model on noisy data, hard formulas, and the virtual interface's generator played
# into a sweep; the automatic starts; bad input.
import numpy as np
import pytest
from scipy.optimize import curve_fit

import qvt2

pi = np.pi
MODELS = {
    "proportional": (lambda x, a: a * x, {"a": 250.0}),
    "affine": (lambda x, a, b: a * x + b, {"a": 250.0, "b": -0.7}),
    "parabola": (lambda x, a, b, c: a * x**2 + b * x + c, {"a": 2e4, "b": -300.0, "c": 1.5}),
    "polynomial": (
        lambda x, a0, a1, a2, a3, a4: a0 + a1 * x + a2 * x**2 + a3 * x**3 + a4 * x**4,
        {"a0": 0.5, "a1": -200.0, "a2": 3e4, "a3": -1e6, "a4": 1.5e7},
    ),
    "exponential": (lambda x, A, tau, B: A * np.exp(-x / tau) + B, {"A": 4.0, "tau": 5e-3, "B": 0.8}),
    "charge": (lambda x, A, tau, B: A * (1 - np.exp(-x / tau)) + B, {"A": 5.0, "tau": 12.5e-3, "B": 0.2}),
    "sine": (
        lambda x, A, f, phi, B: A * np.sin(2 * pi * f * x + phi) + B,
        {"A": 2.0, "f": 150.0, "phi": 0.6, "B": 0.3},
    ),
    "damped_sine": (
        lambda x, A, tau, f, phi, B: A * np.exp(-x / tau) * np.sin(2 * pi * f * x + phi) + B,
        {"A": 4.0, "tau": 0.01, "f": 300.0, "phi": -0.4, "B": 0.05},
    ),
    "power": (lambda x, A, n: A * x**n, {"A": 30.0, "n": 0.5}),
    "gaussian": (
        lambda x, A, mu, sigma, B: A * np.exp(-((x - mu) ** 2) / (2 * sigma**2)) + B,
        {"A": 3.0, "mu": 0.021, "sigma": 4e-3, "B": 0.4},
    ),
}
TIGHT = dict(xtol=1e-13, ftol=1e-13, maxfev=100000)


# Derivatives for curve_fit where an offset B is near 0, as on the generator's waves: its
# forward differences, of step 1.5e-8·|B|, are then mostly rounding, which leaves scipy's B up
# to 1e-4 of its error away from the minimum.
JACOBIANS = {
    "charge": lambda x, A, tau, B: np.stack(
        [1 - np.exp(-x / tau), -A * np.exp(-x / tau) * x / tau**2, np.ones_like(x)], axis=1
    ),
    "damped_sine": lambda x, A, tau, f, phi, B: np.stack(
        [
            np.exp(-x / tau) * np.sin(2 * pi * f * x + phi),
            A * np.exp(-x / tau) * np.sin(2 * pi * f * x + phi) * x / tau**2,
            A * np.exp(-x / tau) * np.cos(2 * pi * f * x + phi) * 2 * pi * x,
            A * np.exp(-x / tau) * np.cos(2 * pi * f * x + phi),
            np.ones_like(x),
        ],
        axis=1,
    ),
}


def reference(f, x, y, p0, jac=None):
    popt, pcov = curve_fit(f, x, y, p0=p0, jac=jac, **TIGHT)
    return popt, np.sqrt(np.diag(pcov))


def assert_same_fit(r, names, popt, perr):
    ours = np.array([r.params[k] for k in names])
    errs = np.array([r.errors[k] for k in names])
    # Relative to the value, or to the error for a value near 0 (an offset of a few µV).
    assert np.all(np.abs(ours - popt) <= 1e-6 * np.abs(popt) + 1e-4 * perr), (ours, popt)
    np.testing.assert_allclose(errs, perr, rtol=1e-3)


@pytest.mark.parametrize("model", MODELS)
def test_builtin_model_matches_curve_fit_and_finds_the_true_values(model):
    f, true = MODELS[model]
    names = list(true)
    rng = np.random.default_rng(2)
    x = np.linspace(1e-4, 0.04, 800)
    y = f(x, *true.values()) + rng.normal(0, 0.05, x.size)
    degree = 4 if model == "polynomial" else None

    auto = qvt2.fit(x, y, model, degree=degree)
    assert auto.converged, auto.message
    assert list(auto.params) == names
    for k in names:
        assert abs(auto.params[k] - true[k]) < 3 * auto.errors[k], k

    start = {k: v * 1.05 for k, v in true.items()}
    r = qvt2.fit(x, y, model, start=start, degree=degree)
    popt, perr = reference(f, x, y, list(start.values()))
    assert_same_fit(r, names, popt, perr)
    np.testing.assert_allclose(r(x), f(x, *popt), rtol=1e-6, atol=1e-6)
    assert r.chi2 == pytest.approx(np.sum((y - f(x, *popt)) ** 2), rel=1e-9)
    assert r.rms == pytest.approx(np.sqrt(r.chi2 / x.size))


@pytest.mark.parametrize("model, held", [("charge", "tau"), ("damped_sine", "f"), ("gaussian", "A")])
def test_builtin_model_with_a_parameter_held_matches_curve_fit(model, held):
    f, true = MODELS[model]
    names = list(true)
    x = np.linspace(1e-4, 0.04, 700)
    y = f(x, *true.values()) + np.random.default_rng(4).normal(0, 0.05, x.size)
    value = true[held] * 1.01
    free = [k for k in names if k != held]
    start = {k: true[k] * 1.05 for k in free}
    r = qvt2.fit(x, y, model, start=start, fixed={held: value})
    assert r.params[held] == value and r.errors[held] is None

    def reduced(x, *p):
        return f(x, **dict(zip(free, p)), **{held: value})

    popt, perr = reference(reduced, x, y, list(start.values()))
    assert_same_fit(r, free, popt, perr)


@pytest.mark.parametrize(
    "expression, f, true, start",
    [
        # A rational function with a pole just outside the points.
        ("(a*x+b)/(x+c)", lambda x, a, b, c: (a * x + b) / (x + c), [2.0, 3e-3, 1e-3], [1.5, 2e-3, 2e-3]),
        # Two exponentials 1,000 times apart, parameters from 1e-4 to 1e3.
        (
            "A1*EXP(-t/T1)+A2*EXP(-t/T2)",
            lambda x, a1, t1, a2, t2: a1 * np.exp(-x / t1) + a2 * np.exp(-x / t2),
            [1e3, 1e-4, 2.0, 0.1],
            [950.0, 1.1e-4, 1.8, 0.09],
        ),
    ],
)
def test_hard_formula_matches_curve_fit(expression, f, true, start):
    rng = np.random.default_rng(3)
    x = np.geomspace(1e-6, 0.5, 600)
    y = f(x, *true) + rng.normal(0, 1e-3, x.size)
    names = [n for n in ("a", "b", "c", "A1", "T1", "A2", "T2") if n in expression]
    r = qvt2.fit(x, y, expression, start=dict(zip(names, start)))
    assert list(r.params) == names
    assert r.converged, r.message
    np.testing.assert_allclose(list(r.params.values()), true, rtol=0.05)
    popt, perr = reference(f, x, y, start)
    assert_same_fit(r, names, popt, perr)


@pytest.fixture(scope="module")
def dev():
    with qvt2.open(simulate=True) as d:
        yield d
        d.generator.stop()


@pytest.mark.parametrize(
    "formula, frequency, timebase, level, model, t1, truth",
    [
        ("5*(1-EXP(-8*t))", 10, "100 ms", 0.5, "charge", 0.09, {"tau": 1 / 80}),
        ("4*EXP(-5*t)*SIN(2*PI*10*t)", 1, "1 s", 3.0, "damped_sine", 0.9, {"tau": 0.2, "f": 10}),
    ],
)
def test_generator_wave_fitted_as_curve_fit_does(dev, formula, frequency, timebase, level, model, t1, truth):
    dev.generator.formula(formula, frequency)
    sweep = dev.sweep(timebase, 0, trigger=("rising", 0, level))
    r = sweep.fit(0, model, t1=t1)
    assert r.converged, r.message
    for k, v in truth.items():
        assert r.params[k] == pytest.approx(v, rel=2e-3)
    inside = sweep.t <= t1
    f, _ = MODELS[model]
    names = list(r.params)
    start = [r.params[k] * 1.02 for k in names]
    popt, perr = reference(f, sweep.t[inside], sweep.v[0][inside], start, JACOBIANS[model])
    assert_same_fit(sweep.fit(0, model, t1=t1, start=dict(zip(names, start))), names, popt, perr)


def test_fixed_parameter_holds_and_non_finite_points_are_left_out():
    x = np.linspace(0, 1, 50)
    y = 3 * x + 2
    y[[5, 9]] = np.nan
    x[7] = np.inf
    r = qvt2.fit(x, y, "affine", fixed={"b": 1.0})
    assert r.converged and r.params["b"] == 1.0 and r.errors["b"] is None
    assert r.left_out == 3 and r.npoints == 47
    keep = np.isfinite(x) & np.isfinite(y)
    x, y = x[keep], y[keep]
    assert r.params["a"] == pytest.approx(np.sum(x * (y - 1)) / np.sum(x * x), rel=1e-12)


@pytest.mark.parametrize(
    "x, y, model, kwargs, reason",
    [
        ([1, 2], [1, 2], "sine", {}, "points for 4 parameters"),
        ([1, 2, 3], [1, 2, 3], "exp(1000*a*x)", {}, "not finite"),
        ([1, 1, 1, 1], [1, 2, 3, 4], "affine", {}, None),  # undetermined, below
    ],
)
def test_failed_fit_says_why(x, y, model, kwargs, reason):
    r = qvt2.fit(x, y, model, **kwargs)
    if reason is None:
        assert r.converged and r.errors == {"a": None, "b": None}
    else:
        assert not r.converged and reason in r.message


@pytest.mark.parametrize(
    "model, kwargs, reason",
    [
        ("2*(x", {}, "Missing brackets"),
        ("2*x+1", {}, "no parameter"),
        ("a*x", {"start": {"x": 1.0}}, "abscissa"),
        ("charge", {"start": {"k": 1.0}}, "no parameter named 'k'"),
        ("polynomial", {"degree": 7}, "accepted: 3, 4, 5"),
        ("sine", {"degree": 3}, "polynomial"),
    ],
)
def test_bad_model_raises_valueerror(model, kwargs, reason):
    with pytest.raises(ValueError, match=reason):
        qvt2.fit([0, 1, 2, 3, 4], [0, 1, 2, 3, 4], model, **kwargs)
