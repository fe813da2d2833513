#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs a build into a staging folder (DESTDIR) and checks the installed tree: every file in
# its place and nothing of the tests; the staged program runs, on the virtual interface too,
# with the build folder out of reach; a C client compiles and links against the staged library
# through pkg-config. Usage: check_install.sh <build> <staging folder> <C compiler> <client.c>,
# with the configured install folders (full paths) in QVT_BINDIR, QVT_LIBDIR, ... (see
# CMakeLists.txt) and the project version in QVT_VERSION.
set -euo pipefail
build=$(realpath "$1") stage=$(realpath -m "$2") cc=$3 client=$4
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" >/dev/null
bin=$stage$QVT_BINDIR lib=$stage$QVT_LIBDIR share=$stage$QVT_DATADIR
id=org.qvt2.oscillo major=${QVT_VERSION%%.*}
work=$stage.run
rm -rf "$work" && mkdir -p "$work"

# The files, where a desktop and other programs look for them.
for f in "$bin/qvt2_oscillo" "$lib/libqvtlink.so.$QVT_VERSION" "$lib/libqvtlink.so.$major" \
  "$lib/libqvtlink.so" "$stage$QVT_INCLUDEDIR"/qvtlink/{qvtlink,qvtrecords,qvtstring}.h \
  "$lib/pkgconfig/qvtlink.pc" "$share/applications/$id.desktop" "$share/metainfo/$id.metainfo.xml" \
  "$share/icons/hicolor/scalable/apps/$id.svg" "$stage$QVT_MANDIR/man1/qvt2_oscillo.1.gz" "$stage$QVT_MANDIR/man1/qvt2ctl.1.gz" \
  "$stage$QVT_DOCDIR/copyright" "$stage$QVT_UDEVDIR/70-qvt2.rules"; do
  [ -e "$f" ] || fail "missing ${f#"$stage"}"
done
# The user's guide in both languages; its pictures when the build made them.
for lang in fr en; do
  [ -s "$stage$QVT_DOCDIR/guide/$lang/index.html" ] || fail "missing the guide's $lang/index.html"
  [ "${QVT_GUIDE_PICTURES:-OFF}" != ON ] || file "$stage$QVT_DOCDIR/guide/$lang/pictures/window.png" \
    | grep -q "PNG image data" || fail "missing the guide's $lang/pictures/window.png"
done
# The French manual pages, found by `man -L fr`, and the window's English texts.
for f in "$stage$QVT_MANDIR"/fr/man1/{qvt2_oscillo,qvt2ctl}.1.gz "$share/qvt2/translations/qvt2_en.qm"; do
  [ -e "$f" ] || fail "missing ${f#"$stage"}"
done
if command -v man >/dev/null; then
  [ "$(MANPATH="$stage$QVT_MANDIR" man -L fr -w qvt2ctl)" = "$stage$QVT_MANDIR/fr/man1/qvt2ctl.1.gz" ] \
    || fail "man -L fr qvt2ctl finds no French page"
fi
for size in 16 22 24 32 48 64 128 256; do
  file "$share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size," \
    || fail "no ${size}px icon"
done
readelf -d "$lib/libqvtlink.so.$QVT_VERSION" | grep -q "(SONAME).*\[libqvtlink.so.$major\]" || fail "SONAME"
# The program alone: no test, benchmark, demo or helper program, no static library.
[ "$(ls "$bin" | tr '\n' ' ')" = "qvt2_oscillo qvt2ctl " ] || fail "bin holds: $(ls "$bin" | tr '\n' ' ')"
[ -z "$(find "$stage" -name '*.a')" ] || fail "static libraries installed"

# Nothing installed names the build folder; a RUNPATH is relative to the program. The loader
# then finds libqvtlink through the RUNPATH alone; without one, the library folder must be one
# the loader searches anyway, and the staged folder stands for it.
for elf in "$bin/qvt2_oscillo" "$lib/libqvtlink.so.$QVT_VERSION"; do
  ! readelf -d "$elf" | grep -E '\((RUNPATH|RPATH)\)' | grep -qF "$build" || fail "$elf: search path into the build"
done
runpath=$(readelf -d "$bin/qvt2_oscillo" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p')
libpath=()
if [ -n "$runpath" ]; then
  case $runpath in '$ORIGIN'/*) ;; *) fail "RUNPATH $runpath is not relative to the program" ;; esac
else
  { ldconfig -vNX 2>/dev/null | sed -n 's/^\(\/[^:]*\):.*/\1/p'; echo /lib; echo /usr/lib; } \
    | xargs realpath -m | grep -qx "$(realpath -m "$QVT_LIBDIR")" \
    || fail "no RUNPATH, and the loader does not search $QVT_LIBDIR"
  libpath=("LD_LIBRARY_PATH=$lib")
fi
clean=(env -i PATH=/usr/bin:/bin HOME="$work" QT_QPA_PLATFORM=offscreen "${libpath[@]}")
run() { "${clean[@]}" "$@"; }
loaded=$(run ldd "$bin/qvt2_oscillo")
! grep -vF "$stage" <<<"$loaded" | grep -qF "$build" || fail "loads from the build: $loaded"
found=$(sed -n 's/.*libqvtlink\.so[^ ]* => \([^ ]*\).*/\1/p' <<<"$loaded")
[ -n "$found" ] && [ "$(realpath "$found")" = "$(realpath "$lib/libqvtlink.so.$major")" ] \
  || fail "libqvtlink resolves to '$found'"

run "$bin/qvt2_oscillo" --version | grep -qx "qvt2_oscillo $QVT_VERSION" || fail "--version"
run "$bin/qvt2_oscillo" --help | grep -q -- "--simulate" || fail "--help"
run "$bin/qvt2ctl" --version | grep -q "$QVT_VERSION" || fail "qvt2ctl --version"
# --simulate: the virtual interface inside the installed library answers (its trace fills).
"${clean[@]}" QVTLINK_SIM="trace=$work/trace" "$bin/qvt2_oscillo" --simulate &
pid=$!
sleep 2
kill -TERM $pid
wait $pid || fail "--simulate ended with $?"
grep -q '^W ' "$work/trace" || fail "--simulate: the virtual interface saw no command"

# A C client through pkg-config, against the staged files only.
pc() {
  PKG_CONFIG_LIBDIR="$lib/pkgconfig" PKG_CONFIG_SYSROOT_DIR="$stage" \
    PKG_CONFIG_ALLOW_SYSTEM_CFLAGS=1 PKG_CONFIG_ALLOW_SYSTEM_LIBS=1 pkg-config "$@" qvtlink
}
[ "$(pc --modversion)" = "$QVT_VERSION" ] || fail "pkg-config version"
# shellcheck disable=SC2046 # the flags are words
"$cc" -std=c11 -Wall -Werror $(pc --cflags) "$client" $(pc --libs) -o "$work/client" || fail "C client"
out=$(env -i LD_LIBRARY_PATH="$lib" QVTLINK_DEVICE=sim "$work/client") || fail "C client run"
[ "$out" = "QVT2 virtual interface 1.0" ] || fail "C client printed '$out'"
echo "installed tree OK: $(find "$stage" -type f | wc -l) files"
