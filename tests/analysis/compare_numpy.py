# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the spectrum dump program (argument 1) and checks every magnitude against
# numpy.fft.rfft of the same windowed samples, scaled so that a sine reads its amplitude:
# within 1e-9 relative.
import subprocess
import sys

import numpy as np

# Cosine-sum coefficients (signs alternating) of the periodic windows.
WINDOWS = {
    "rectangular": [1.0],
    "hann": [0.5, 0.5],
    "hamming": [0.54, 0.46],
    "blackmanharris": [0.35875, 0.48829, 0.14128, 0.01168],
    "flattop": [0.21557895, 0.41663158, 0.277263158, 0.083578947, 0.006947368],
}


def expected(name, x):
    n = len(x)
    i = np.arange(n)
    w = sum((-1) ** m * a * np.cos(2 * np.pi * m * i / n) for m, a in enumerate(WINDOWS[name]))
    mag = np.abs(np.fft.rfft(x * w)) * 2 / (n * WINDOWS[name][0])
    mag[0] /= 2
    if n % 2 == 0:
        mag[-1] /= 2
    return mag


def main():
    out = subprocess.run([sys.argv[1]], check=True, capture_output=True, text=True).stdout
    lines = out.splitlines()
    if len(lines) != 15:
        print(f"expected 5 cases, got {len(lines)} lines")
        return 1
    failed = 0
    for k in range(0, len(lines), 3):
        name, n = lines[k].split()
        x = np.array(lines[k + 1].split(), dtype=float)
        got = np.array(lines[k + 2].split(), dtype=float)
        want = expected(name, x)
        if len(x) != int(n) or got.shape != want.shape:
            print(f"{name}: {len(x)} samples, {got.shape} bins; expected {n}, {want.shape}")
            failed += 1
            continue
        worst = np.max(np.abs(got - want) / np.abs(want))
        print(f"{name} n={n}: worst relative difference {worst:.3g}")
        if not worst <= 1e-9:
            failed += 1
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
