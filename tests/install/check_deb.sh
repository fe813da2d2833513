#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the Debian packages that `cpack -G DEB` made: qvt2 (the program and what comes with
# it), libqvtlink0 (the library programs load), libqvtlink-dev (what building against it
# needs) and python3-qvt2 (the Python module). Lists each, finds every file in its Debian place and the library in its own packages
# only, checks the dependencies (from the binaries, and between the packages at exactly their
# version), the library's shlibs and ldconfig trigger, that packages, changelog and AppStream
# release agree on the version, and that each package carries the machine-readable copyright.
# Then unpacks them into one scratch root, validates the menu entry and the AppStream
# data, runs the program, builds and runs a C client through pkg-config and sweeps from Python
# there, and runs
# lintian on the packages, failing on its errors and warnings.
# Usage: check_deb.sh <source folder> <package.deb>... (the C compiler is $CC, else cc).
set -euo pipefail
src=$1
shift
fail() { echo "FAIL: $*" >&2; exit 1; }
id=org.qvt2.oscillo
lib=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)

declare -A deb
for f in "$@"; do deb[$(dpkg-deb -f "$f" Package)]=$f; done
for p in qvt2 libqvtlink0 libqvtlink-dev python3-qvt2; do
  [ -n "${deb[$p]:-}" ] || fail "no $p package among: $*"
done
version=$(dpkg-deb -f "${deb[qvt2]}" Version)
major=${version%%.*}

# Each package: its listing, the files it must hold (every package its copyright and changelog
# in its own documentation folder) and the pattern no file of it may match.
check_files() { # package, forbidden pattern, paths...
  local package=$1 forbidden=$2 listing files path
  shift 2
  listing=$(dpkg-deb -c "${deb[$package]}")
  echo "--- $package"
  files=$(awk '$1 !~ /^d/ { print $6, $7, $8 }' <<<"$listing")
  echo "$files"
  for path in "$@" "usr/share/doc/$package/copyright" "usr/share/doc/$package/changelog.gz"; do
    grep -qE "^\./$path( |$)" <<<"$files" || fail "$package lacks /$path"
  done
  ! grep -E "^\./($forbidden)" <<<"$files" || fail "$package holds the files above"
  [ "$(dpkg-deb -f "${deb[$package]}" Version)" = "$version" ] || fail "$package is not at $version"
}
pngs=()
for size in 16 22 24 32 48 64 128 256; do pngs+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
check_files qvt2 "$lib/|usr/include/" usr/bin/qvt2_oscillo "usr/share/applications/$id.desktop" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "${pngs[@]}" "usr/share/metainfo/$id.metainfo.xml" \
  usr/share/man/man1/qvt2_oscillo.1.gz usr/lib/udev/rules.d/70-qvt2.rules \
  usr/share/doc/qvt2/guide/{fr,en}/index.html usr/share/doc/qvt2/guide/{fr,en}/pictures/window.png
check_files libqvtlink0 "usr/(bin|include|share/(applications|icons|man|metainfo))/|$lib/(pkgconfig|libqvtlink\.so )" \
  "$lib/libqvtlink.so.$major -> libqvtlink.so.$version" "$lib/libqvtlink.so.$version"
check_files libqvtlink-dev "usr/bin/|$lib/libqvtlink\.so\." \
  usr/include/qvtlink/{qvtlink,qvtrecords,qvtstring}.h "$lib/pkgconfig/qvtlink.pc" \
  "$lib/libqvtlink.so -> libqvtlink.so.$major"
check_files python3-qvt2 "usr/(bin|include)/|$lib/" \
  "usr/lib/python3/dist-packages/qvt2\.cpython-[0-9]+-[^ /]+\.so" usr/lib/python3/dist-packages/qvt2.pyi
# The program's package also has the manual pages in French and the window's English texts.
listing=$(dpkg-deb -c "${deb[qvt2]}")
for path in usr/share/man/{,fr/}man1/{qvt2_oscillo,qvt2ctl}.1.gz usr/share/qvt2/translations/qvt2_en.qm; do
  grep -qE " \./$path( |$)" <<<"$listing" || fail "qvt2 lacks /$path"
done

# Dependencies: the library's and the program's from their binaries, the program's and the
# development files' on the library at exactly their version, Qt's translations for the program.
depends() { dpkg-deb -f "${deb[$1]}" Depends; }
needs() { # package, dependency (an extended regular expression)...
  local package=$1 d
  shift
  for d in "$@"; do grep -qE "(^|, )$d" <<<"$(depends "$package")" || fail "$package: Depends: $(depends "$package")"; done
}
exact="libqvtlink0 \(= ${version//./\\.}\)"
needs qvt2 "$exact" libqt6widgets6 qt6-translations-l10n
needs libqvtlink0 libusb-1.0-0 libstdc\\+\\+6
needs libqvtlink-dev "$exact"
needs python3-qvt2 "$exact" python3-numpy "python3 \(>= 3\."
# Packages built against the library depend on this version or newer; the loader's cache
# follows the package through dpkg's trigger.
[ "$(dpkg-deb -I "${deb[libqvtlink0]}" shlibs)" = "libqvtlink $major libqvtlink0 (>= $version)" ] \
  || fail "libqvtlink0's shlibs: $(dpkg-deb -I "${deb[libqvtlink0]}" shlibs)"
dpkg-deb -I "${deb[libqvtlink0]}" triggers | grep -qx "activate-noawait ldconfig" || fail "no ldconfig trigger"

[ "$(dpkg-parsechangelog -l "$src/packaging/debian/changelog" -S Version)" = "$version" ] \
  || fail "packaging/debian/changelog has no entry for $version"
grep -m1 '<release ' "$src/packaging/$id.metainfo.xml" | grep -q "version=\"$version\"" \
  || fail "packaging/$id.metainfo.xml: the newest release is not $version"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
for p in "${!deb[@]}"; do dpkg-deb -x "${deb[$p]}" "$tree"; done

# The copyright, machine-readable, names the program's and the library's licences.
for p in qvt2 libqvtlink0 libqvtlink-dev python3-qvt2; do
  copyright=$tree/usr/share/doc/$p/copyright
  head -n1 "$copyright" | grep -qx "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    || fail "$p: the copyright file is not in the machine-readable format"
  for licence in GPL-3.0-or-later LGPL-2.1-or-later; do
    grep -qx "License: $licence" "$copyright" || fail "$p: the copyright file lacks $licence"
  done
done
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$tree/usr/share/metainfo/$id.metainfo.xml" \
  || fail "the AppStream data names no project licence"
desktop-file-validate "$tree/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$tree/usr/share/metainfo/$id.metainfo.xml"

# The three unpacked together work: the program finds the library's package, and a C client
# builds from the development package alone.
clean=(env -i PATH=/usr/bin:/bin HOME="$tree" LD_LIBRARY_PATH="$tree/$lib" QVTLINK_DEVICE=sim)
"${clean[@]}" ldd "$tree/usr/bin/qvt2_oscillo" | grep -qF "libqvtlink.so.$major => $tree/$lib/" \
  || fail "the program does not load the packaged library"
"${clean[@]}" "$tree/usr/bin/qvt2_oscillo" --version | grep -qx "qvt2_oscillo $version" || fail "--version"
pc() {
  PKG_CONFIG_LIBDIR="$tree/$lib/pkgconfig" PKG_CONFIG_SYSROOT_DIR="$tree" \
    PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1 pkg-config "$@" qvtlink
}
[ "$(pc --modversion)" = "$version" ] || fail "pkg-config version"
# shellcheck disable=SC2046 # the flags are words
"${CC:-cc}" -std=c11 -Wall -Werror $(pc --cflags) "$src/tests/install/client.c" $(pc --libs) -o "$tree/client" \
  || fail "C client"
[ "$("${clean[@]}" "$tree/client")" = "QVT2 virtual interface 1.0" ] || fail "C client run"
[ "$("${clean[@]}" PYTHONPATH="$tree/usr/lib/python3/dist-packages" /usr/bin/python3 -c \
  "import qvt2; print(qvt2.open(simulate=True).sweep('1 ms', [0, 1]).v.shape)")" = "(2, 1200)" ] \
  || fail "Python module run"

root=()
[ "$(id -u)" -ne 0 ] || root=(--allow-root)
lintian "${root[@]}" --fail-on error,warning "${deb[@]}" || fail "lintian found errors or warnings"
echo "packages OK: ${!deb[*]}"
