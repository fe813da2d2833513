#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds qvtlink.dll for 32-bit Windows and checks that its export table holds exactly the
# library's 51 undecorated names, no more, no fewer, none with an @N decoration.
# Usage: check_dll_exports.sh <source dir> <cross build dir>   (the build dir is reused between runs)
set -euo pipefail
src=$1
build=$2

expected=(
  SetPortOpen _SetPortOpen
  SetPortClose _SetPortClose
  DefineUSB _DefineUSB
  GetVersionSysteme _GetVersion
  _IsBusy
  LanceAcqui _LanceAcqui
  StopAcqui _StopAcqui
  StopAcquiLENTE _StopAcquiLENTE
  GetUSBData _GetUSBData
  GetUSBDataX _GetUSBDataX
  SendUSBDataX _SendUSBDataX
  GetPipe _GetPipe
  SendPipe _SendPipe
  LanceGenerateur _LanceGenerateur
  StopGenerateur _StopGenerateur
  SendAdjust _SendAdjust
  GetAdjust _GetAdjust
  SendBOOT _SendBOOT
  SendH8 _SendH8
  GetH8 _GetH8
  GetLenH8 _GetLenH8
  EmptyBuffer _EmptyBuffer
  ChangeVitesse _ChangeVitesse
  LanceTHREAD _LanceTHREAD
  StopTHREAD _StopTHREAD
  IsRunTHREAD _IsRunTHREAD
)
if [ ${#expected[@]} -ne 51 ]; then
  echo "the expected list holds ${#expected[@]} names instead of 51" >&2
  exit 2
fi

for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/deps.sh installs it)" >&2; exit 2; }
done

# Configure once; later runs only rebuild what changed.
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchain-mingw32.cmake" >"$build.configure.log" 2>&1 \
    || { cat "$build.configure.log" >&2; exit 1; }
fi
if ! cmake --build "$build" --target qvtlink -j 2 >"$build.build.log" 2>&1; then
  tail -n 40 "$build.build.log" >&2
  echo "the cross build of qvtlink failed" >&2
  exit 1
fi

dll="$build/link/qvtlink.dll"
if [ ! -f "$dll" ]; then
  echo "no $dll; the build made: $(cd "$build/link" && ls ./*.dll 2>/dev/null | tr '\n' ' ')" >&2
  echo "the program loads the library as qvtlink.dll" >&2
  exit 1
fi

# The names follow the "[Ordinal/Name Pointer] Table" heading up to the next blank line.
actual=$(i686-w64-mingw32-objdump -p "$dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^[[:space:]]*$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] //p' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)

if [ "$actual" != "$wanted" ]; then
  echo "export table of $dll differs (< missing, > unexpected):" >&2
  diff <(echo "$wanted") <(echo "$actual") | grep '^[<>]' >&2 || true
  exit 1
fi
echo "$dll exports exactly the 51 names"
