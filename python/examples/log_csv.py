#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Logs a slow signal point by point into a CSV file: Y3 (a slow triangle on the virtual
# interface) and Y0, one row per interval, with the time in seconds. Ctrl+C stops early and
# keeps the rows written.
# Usage: log_csv.py [file.csv] [points] [interval s] [--hardware]
import csv
import sys

import qvt2

args = [a for a in sys.argv[1:] if a != "--hardware"]
path = args[0] if len(args) > 0 else "log.csv"
points = int(args[1]) if len(args) > 1 else 20
interval = float(args[2]) if len(args) > 2 else 0.5
channels = [3, 0]

with qvt2.open(simulate="--hardware" not in sys.argv) as dev, open(path, "w", newline="") as f:
    out = csv.writer(f)
    out.writerow(["t (s)"] + [f"Y{c} (V)" for c in channels])
    try:
        for n, (t, values) in enumerate(dev.log(interval=interval, channels=channels)):
            out.writerow([f"{t:.3f}"] + [f"{v:.4f}" for v in values])
            if n + 1 == points:
                break
    except KeyboardInterrupt:
        pass
print(f"{path}: {points} points every {interval:g} s")
