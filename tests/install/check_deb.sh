#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks the .deb that `cpack -G DEB` made: lists it, finds the program, the library, the menu
# entry, icons, AppStream data, manual page and udev rule in their Debian places, checks the
# dependencies came from the binaries and that the package, its changelog and the AppStream
# release agree on the version, validates the menu entry and the AppStream data, and runs
# lintian, failing on its errors only. Usage: check_deb.sh <package.deb> <source folder>.
set -euo pipefail
deb=$1 src=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
id=org.qvt2.oscillo
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)

listing=$(dpkg-deb -c "$deb")
awk '$1 !~ /^d/ { print $6, $7, $8 }' <<<"$listing"
for path in usr/bin/qvt2_oscillo "usr/lib/$multiarch/libqvtlink.so.0" "usr/include/qvtlink/qvtlink.h" \
  "usr/lib/$multiarch/pkgconfig/qvtlink.pc" "usr/share/applications/$id.desktop" \
  "usr/share/icons/hicolor/scalable/apps/$id.svg" "usr/share/icons/hicolor/48x48/apps/$id.png" \
  "usr/share/metainfo/$id.metainfo.xml" usr/share/man/man1/qvt2_oscillo.1.gz \
  usr/lib/udev/rules.d/70-qvt2.rules; do
  grep -qE " \./$path( |$)" <<<"$listing" || fail "the package lacks /$path"
done

depends=$(dpkg-deb -f "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" && grep -q libusb-1.0-0 <<<"$depends" || fail "Depends: $depends"
version=$(dpkg-deb -f "$deb" Version)
[ "$(dpkg-parsechangelog -l "$src/packaging/debian/changelog" -S Version)" = "$version" ] \
  || fail "packaging/debian/changelog has no entry for $version"
grep -m1 '<release ' "$src/packaging/$id.metainfo.xml" | grep -q "version=\"$version\"" \
  || fail "packaging/$id.metainfo.xml: the newest release is not $version"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$tree/usr/share/metainfo/$id.metainfo.xml"

root=()
[ "$(id -u)" -ne 0 ] || root=(--allow-root)
lintian "${root[@]}" --fail-on error "$deb" || fail "lintian found errors"
echo "package OK: $(basename "$deb")"
