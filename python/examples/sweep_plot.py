#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Sweeps Y0 and Y1 once, triggered on Y1's rising edge, and plots them with matplotlib: in a
# window when there is a display, into a PNG file otherwise (or when one is named).
# Usage: sweep_plot.py [picture.png] [--hardware]
import os
import sys

import matplotlib

if not os.environ.get("DISPLAY") and "MPLBACKEND" not in os.environ:
    matplotlib.use("Agg")
import matplotlib.pyplot as plt

import qvt2

args = [a for a in sys.argv[1:] if a != "--hardware"]
with qvt2.open(simulate="--hardware" not in sys.argv) as dev:
    dev.generator.triangle(200, amplitude=3.0)  # looped to Y0 on the virtual interface
    r = dev.sweep(timebase="20 ms", channels=[0, 1], ranges={0: "5 V", 1: "5 V"},
                  trigger=("rising", 1, 0.0), pretrigger=True)
    dev.generator.stop()

fig, ax = plt.subplots()
for row, channel, unit in zip(r.v, r.channels, r.units):
    ax.plot(r.t * 1e3, row, label=f"Y{channel} ({unit})")
ax.set_xlabel("t (ms)")
ax.set_ylabel("tension (V)")
ax.set_title(f"Balayage {r.meta['timebase']}, {r.meta['sample_rate'] / 1e3:g} kHz")
ax.grid(True)
ax.legend()
if args or matplotlib.get_backend().lower() == "agg":
    fig.savefig(args[0] if args else "sweep.png", dpi=100)
else:
    plt.show()
