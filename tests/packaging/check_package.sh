#!/usr/bin/env bash
# The Debian package: built with CPack from this build tree, unpacked into a staging root, its
# files, its computed dependencies, its documents (copyright, changelog, manual pages), its
# desktop entry (desktop-file-validate) and its AppStream metainfo (appstreamcli validate)
# checked, and lintian run on it (no errors).
# Usage: check_package.sh <build folder>. Exit 77 (skipped) without the Debian tools.
set -euo pipefail
build=$1
for tool in cpack dpkg-deb dpkg-shlibdeps desktop-file-validate appstreamcli lintian; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$1" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack failed"; }
deb=$(ls "$work"/out/kelvane_*.deb)

# Dependencies: computed from the linked libraries, plus what is only loaded at run time.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libavformat59 libturbojpeg0 libc6 qt6-qpa-plugins; do
  grep -q "\b$package\b" <<<"$depends" || fail "Depends lacks $package"
done

stage="$work/root"
dpkg-deb -x "$deb" "$stage"
program="$stage/usr/lib/kelvane"
for file in kelvane kelvane-convert evc revc; do
  [ -x "$program/$file" ] || fail "the program folder lacks the executable $file"
done
for file in libRes.so libForm.so Help.chm Help/index.html Help/style.css installed; do
  [ -f "$program/$file" ] || fail "the program folder lacks $file"
done
for file in kelvane kelvane-convert; do
  [ -L "$stage/usr/bin/$file" ] || fail "/usr/bin/$file is not a link"
  [ "$(readlink -f "$stage/usr/bin/$file")" = "$(readlink -f "$program/$file")" ] ||
    fail "/usr/bin/$file does not lead to the program"
done
! file "$program/kelvane" | grep -q "not stripped" || fail "the program is not stripped"

desktop="$stage/usr/share/applications/com.brasksoft.Kelvane.desktop"
desktop-file-validate "$desktop" || fail "desktop-file-validate refused $desktop"
grep -q '^Exec=kelvane %F$' "$desktop" || fail "the desktop entry does not hand files to the program"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16 32 48 128 256; do
  png="$stage/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png"
  file "$png" | grep -q "PNG image data, $size x $size," || fail "no $size pixel icon $png"
done

# The documents Debian asks for: copyright (machine-readable), changelog, manual pages.
doc="$stage/usr/share/doc/kelvane"
head -1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not machine-readable"
gzip -t "$doc/changelog.gz" || fail "no compressed changelog"
for page in kelvane kelvane-convert; do
  man="$stage/usr/share/man/man1/$page.1.gz"
  gzip -t "$man" || fail "no manual page $page(1)"
  zcat "$man" | grep -q "^\.TH ${page^^} 1" || fail "$page(1) has no title line"
done
# The long description does not repeat the summary.
description=$(dpkg-deb -f "$deb" Description)
summary=$(head -1 <<<"$description")
tail -n +2 <<<"$description" | grep -qF "$summary" && fail "the long description repeats the summary"

# Lintian: no errors (warnings are let through).
lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || true
cat "$work/lintian.log"
! grep -q '^E:' "$work/lintian.log" || fail "lintian reports errors"

metainfo="$stage/usr/share/metainfo/com.brasksoft.Kelvane.metainfo.xml"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli refused $metainfo"
echo "ok: $(basename "$deb") installs into a staging root and its desktop files validate"
