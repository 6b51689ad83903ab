#!/usr/bin/env bash
# Builds the .deb from the build folder and checks what it holds and needs.
# usage: package_test.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
check() { # check DESCRIPTION COMMAND...
  if "${@:2}" >/dev/null; then echo "ok: $1"; else echo "FAILED: $1"; failed=1; fi
}

(cd "$build" && cpack -G DEB -B "$work/out" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/out/quorvel_*.deb)
dpkg-deb -x "$deb" "$work/root"
dpkg-deb -I "$deb" >"$work/info"

check "executable" test -x "$work/root/usr/bin/quorvel"
check "desktop entry" grep -q '^Name=Quorvel$' "$work/root/usr/share/applications/quorvel.desktop"
check "Chinese name" grep -q '^Name\[zh_CN\]=' "$work/root/usr/share/applications/quorvel.desktop"
check "categories" grep -q '^Categories=Science;Engineering;$' "$work/root/usr/share/applications/quorvel.desktop"
check "scalable icon" test -s "$work/root/usr/share/icons/hicolor/scalable/apps/quorvel.svg"
check "bitmap icon" test -s "$work/root/usr/share/icons/hicolor/64x64/apps/quorvel.png"
check "depends on the Qt widgets runtime" grep -qE '^ Depends:.*libqt6widgets6' "$work/info"
check "depends on the CJK fonts" grep -qE '^ Depends:.*fonts-noto-cjk' "$work/info"
check "machine-readable copyright" grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/$' "$work/root/usr/share/doc/quorvel/copyright"
check "changelog" gzip -t "$work/root/usr/share/doc/quorvel/changelog.gz"
check "manual page" gzip -t "$work/root/usr/share/man/man1/quorvel.1.gz"
check "no lintian error" lintian --fail-on error --no-tag-display-limit "$deb"
lintian --no-tag-display-limit "$deb" 2>/dev/null
check "depends on no -dev package" grep -qvE '^ Depends:.*-dev\b' <(grep '^ Depends:' "$work/info")
grep '^ Depends:' "$work/info"
exit $failed
