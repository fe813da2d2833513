#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
# Sweeps per second of qvt2's dev.sweep() at "1 ms" in a plain Python loop on the virtual
# interface, against the same loop without the conversion (a sweep of no interest: the empty
# loop's cost is printed for reference). Run with the built module on PYTHONPATH:
#   PYTHONPATH=build/python /usr/bin/python3 bench/python_sweeps.py [seconds]
import sys
import time

import qvt2

seconds = float(sys.argv[1]) if len(sys.argv) > 1 else 5.0
with qvt2.open(simulate=True) as dev:
    for channels in ([0], [0, 1, 2, 3]):
        dev.sweep("1 ms", channels)
        n = 0
        start = time.perf_counter()
        while time.perf_counter() - start < seconds:
            r = dev.sweep("1 ms", channels)
            n += 1
        elapsed = time.perf_counter() - start
        print(f"{len(channels)} channel(s): {n / elapsed:.0f} sweeps/s "
              f"({1e3 * elapsed / n:.2f} ms a sweep, {r.v.shape[1]} samples)")
