#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds qvt2 and starts the oscilloscope on the virtual interface (pass --hardware to use a
# plugged-in interface). Further arguments go to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVT_TESTS=OFF -DQVT_BENCH=OFF >/dev/null
cmake --build "$root/build/release"
if [ "${1:-}" = "--hardware" ]; then
  shift
  exec "$root/build/release/app/qvt2_oscillo" "$@"
fi
exec "$root/build/release/app/qvt2_oscillo" --simulate "$@"
