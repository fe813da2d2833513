#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; quiet when nothing is missing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libusb-1.0-0-dev umockdev libumockdev-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686
  qt6-base-dev libmuparser-dev
  xvfb xauth dbus fonts-dejavu-core locales
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
