#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the build, the program and the tests need; quiet when nothing is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libusb-1.0-0-dev umockdev libumockdev-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  qt6-base-dev qt6-svg-dev libmuparser-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev
  libfftw3-dev libgsl-dev python3-scipy
  pybind11-dev python3-dev python3-numpy python3-pytest python3-matplotlib python3-notebook
  xvfb xauth dbus fonts-dejavu-core locales poppler-utils librsvg2-bin xdotool imagemagick
  file dpkg-dev desktop-file-utils appstream lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The number-text tests also run under a decimal-comma locale; generated once when missing.
if ! locale -a 2>/dev/null | grep -iE '^fr_FR\.utf-?8$' >/dev/null; then
  echo "Generating the fr_FR.UTF-8 locale"
  $sudo localedef -i fr_FR -f UTF-8 fr_FR.UTF-8
fi
