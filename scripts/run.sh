#!/usr/bin/env bash
# Builds qvt2 and starts it on the virtual interface (pass --hardware to use a plugged-in interface).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQVT_TESTS=OFF -DQVT_BENCH=OFF >/dev/null
cmake --build "$root/build/release"
if [ "${1:-}" = "--hardware" ]; then
  shift
else
  export QVTLINK_DEVICE=sim
fi
exec "$root/build/release/app/qvt2_demo" "$@"
