#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds qvt2 and runs the whole test suite: plain build, AddressSanitizer+UBSan, ThreadSanitizer
# on the threaded tests, every fuzzer for a bounded number of runs, and the Debian packages.
# QVT_STAGES selects stages (default "plain asan tsan fuzz package"); QVT_FUZZ_RUNS and
# QVT_FUZZ_SECONDS bound each fuzzer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"

stages=${QVT_STAGES:-plain asan tsan fuzz package}
runs=${QVT_FUZZ_RUNS:-1000000}
seconds=${QVT_FUZZ_SECONDS:-100}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
jobs=$(nproc)
# A machine that has ccache builds the four configurations through it.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
fi

configure_build() { # dir, target, cmake options...
  local dir=$1 target=$2; shift 2
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir" -j "$jobs" --target "$target"
}

run_ctest() { # dir, ctest options...
  local dir=$1; shift
  (cd "$dir" && ctest --output-on-failure -j "$jobs" "$@")
}

for stage in $stages; do
  echo "=== $stage ($(date +%T))"
  case $stage in
    plain)
      configure_build "$root/build/test" all -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr/local -DQVT_PYTHON=ON -DQVT_WERROR=ON -DQVT_GUIDE_PICTURES=OFF
      run_ctest "$root/build/test" ;;
    asan)
      configure_build "$root/build/asan" all -DCMAKE_BUILD_TYPE=Debug -DQVT_SANITIZE=address,undefined -DQVT_BENCH=OFF
      ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest "$root/build/asan" -LE nosan ;;
    tsan)
      configure_build "$root/build/tsan" thread_tests -DCMAKE_BUILD_TYPE=Debug -DQVT_SANITIZE=thread -DQVT_BENCH=OFF
      TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" run_ctest "$root/build/tsan" -L thread ;;
    fuzz)
      CC=clang CXX=clang++ configure_build "$root/build/fuzz" fuzzers -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQVT_WERROR=ON -DQVT_FUZZ=ON -DQVT_TESTS=OFF -DQVT_BENCH=OFF
      passed=0
      for f in "$root"/build/fuzz/fuzz/fuzz_*; do
        [ -x "$f" ] || continue
        name=$(basename "$f")
        corpus="$root/build/fuzz/corpus/$name"
        mkdir -p "$corpus"
        seeds=()
        [ -d "$root/fuzz/seeds/$name" ] && seeds=("$root/fuzz/seeds/$name")
        echo "--- $name"
        "$f" -runs="$runs" -max_total_time="$seconds" -print_final_stats=0 "$corpus" "${seeds[@]}" 2>"$root/build/fuzz/$name.log" \
          || { tail -n 60 "$root/build/fuzz/$name.log"; echo "fuzz: $passed passed, 1 failed"; exit 1; }
        grep -E "^(Done|INFO: Running|#[0-9]+ *DONE)" "$root/build/fuzz/$name.log" | tail -n 1 || true
        passed=$((passed + 1))
      done
      echo "fuzz: $passed passed, 0 failed" ;;
    package)
      # The .deb packages (qvt2, libqvtlink0, libqvtlink-dev) from the plain build, configured
      # for /usr while it is packaged (plain sets its /usr/local back), with the guide's pictures
      # taken on a virtual screen; the installed-tree test runs again for that prefix.
      configure_build "$root/build/test" all -DCMAKE_INSTALL_PREFIX=/usr -DQVT_GUIDE_PICTURES=ON
      rm -f "$root"/build/test/*.deb
      (cd "$root/build/test" && cpack -G DEB >/dev/null)
      run_ctest "$root/build/test" -L install
      "$root/tests/install/check_deb.sh" "$root" "$root"/build/test/*.deb ;;
    *) echo "unknown stage $stage"; exit 2 ;;
  esac
done
