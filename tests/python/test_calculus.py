# SPDX-License-Identifier: GPL-3.0-or-later
# Sweep.derivative, Sweep.integral and Sweep.spectrum on the virtual interface's 50 Hz sine of
# 2 V (channel 1), against scipy on the same samples and against the exact sine.
import numpy as np
import pytest
from scipy.integrate import cumulative_trapezoid
from scipy.signal import get_window, savgol_filter

import qvt2

A, F = 2.0, 50.0
W = 2 * np.pi * F


@pytest.fixture(scope="module")
def sweeps():
    with qvt2.open(simulate=True) as dev:
        yield {tb: dev.sweep(tb, [1], trigger=("rising", 1, 0.0)) for tb in ("20 ms", "100 ms")}


def test_derivative_equals_savgol_filter_and_the_sine_derivative(sweeps):
    r = sweeps["20 ms"]
    v, t, dt = r.v[0], r.t, 1 / r.meta["sample_rate"]
    for points in (3, 9, 51):
        d = r.derivative(1, points=points)
        assert d.shape == v.shape
        want = savgol_filter(v, points, 2, deriv=1, delta=dt)
        # Inside within 1e-9 relative; the ends too, fitted as scipy's mode "interp" does.
        np.testing.assert_allclose(d, want, rtol=1e-9, atol=1e-9 * np.max(np.abs(want)))
    # Against 2 pi F A cos: the converter's 1.8 mV steps over 8 us make each sample's
    # derivative noisy (1.5 % RMS), so the sinusoid fitted through it is what is compared.
    d = r.derivative(1)
    inside = slice(9, -9)
    basis = np.column_stack([np.cos(W * t), np.sin(W * t)])[inside]
    c, s = np.linalg.lstsq(basis, d[inside], rcond=None)[0]
    assert np.hypot(c, s) == pytest.approx(W * A, rel=5e-3)
    assert abs(s) < 5e-3 * W * A, "in phase with the cosine"


def test_bad_points_and_channels_are_refused(sweeps):
    r = sweeps["20 ms"]
    for points in (1, 8, 53):
        with pytest.raises(ValueError, match="odd"):
            r.derivative(1, points=points)
    with pytest.raises(ValueError, match="not among"):
        r.integral(0)


def test_integral_equals_cumulative_trapezoid_and_the_sine_areas(sweeps):
    r = sweeps["100 ms"]
    v, dt = r.v[0], 1 / r.meta["sample_rate"]
    c = r.integral(1)
    np.testing.assert_allclose(c, cumulative_trapezoid(v, dx=dt, initial=0), rtol=1e-12, atol=1e-15)
    period = round(1 / F / dt)  # 500 samples
    assert abs(c[4 * period] - c[0]) < 1e-3 * A / F, "whole periods"
    assert c[period // 2] == pytest.approx(A / F / np.pi, abs=1e-3 * A / F), "half a period"


@pytest.mark.parametrize("window", ["boxcar", "hann", "hamming", "blackmanharris", "flattop"])
def test_spectrum_equals_the_scaled_rfft_of_the_windowed_sweep(sweeps, window):
    r = sweeps["100 ms"]
    v, n = r.v[0], len(r.v[0])
    f, magnitude, harmonics = r.spectrum(1, window=window)
    w = get_window(window, n)
    want = np.abs(np.fft.rfft(v * w)) * 2 / np.sum(w)
    want[0] /= 2
    want[-1] /= 2
    np.testing.assert_allclose(magnitude, want, rtol=1e-9, atol=1e-12)
    np.testing.assert_allclose(f, np.fft.rfftfreq(n, 1 / r.meta["sample_rate"]), rtol=1e-12)
    assert harmonics[0]["number"] == 1
    assert harmonics[0]["frequency"] == pytest.approx(F, rel=1e-3)
    assert harmonics[0]["amplitude"] == pytest.approx(A, rel=1e-2)
    db = r.spectrum(1, window=window, scale="dBV")[1]
    np.testing.assert_allclose(db, 20 * np.log10(np.maximum(want, 1e-12)), atol=1e-6)
    halves = r.spectrum(1, window=window, averaging=2)[1]
    w2 = get_window(window, n // 2)
    blocks = [np.abs(np.fft.rfft(b * w2)) * 2 / np.sum(w2) for b in np.split(v, 2)]
    np.testing.assert_allclose(halves[1:-1], np.mean(blocks, axis=0)[1:-1], rtol=1e-9, atol=1e-12)
    with pytest.raises(ValueError, match="unknown window"):
        r.spectrum(1, window="kaiser")
