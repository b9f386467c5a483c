#!/usr/bin/env bash
# Builds the Debian package with cpack into a temporary folder and checks it:
# its dependencies (from dpkg-shlibdeps, plus the Qt platform plugins), its
# files, and that the programs it holds run once unpacked.
# Usage: deb_package_test.sh BUILD_DIR. Exit 77 (skipped) only when a
# packaging tool is not installed.
set -uo pipefail
build=$1
source "$(dirname "$0")/check_common.sh"
require_tools cpack dpkg-deb dpkg-shlibdeps

(cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAIL: no package made"; exit 1; }
echo "package: $(basename "$deb")"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for lib in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6printsupport6 libpng16-16 qt6-qpa-plugins; do
  grep -q "\b$lib\b" <<<"$depends" || fail "Depends lacks $lib"
done
[ "$(dpkg-deb -f "$deb" Package)" = kelvo-disk-utility ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] || fail "architecture"

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in ./usr/bin/kdu ./usr/bin/kdisk ./usr/share/applications/kdisk.desktop \
         ./usr/share/icons/hicolor/scalable/apps/kdisk.svg \
         ./usr/share/mime/packages/kelvo-disk-utility.xml ./usr/share/man/man1/kdu.1.gz \
         ./usr/share/man/man1/kdisk.1.gz ./usr/share/bash-completion/completions/kdu; do
  grep -qx -- "$f" <<<"$files" || fail "package lacks $f"
done

dpkg-deb -x "$deb" "$work/root"
"$work/root/usr/bin/kdu" --version >/dev/null || fail "packaged kdu does not run"
"$work/root/usr/bin/kdisk" --version >/dev/null || fail "packaged kdisk does not run"
# Stripped: no debugging sections left in the programs.
if command -v readelf >/dev/null && grep -q '\.debug_info' <<<"$(readelf -S "$work/root/usr/bin/kdu")"; then
  fail "kdu is not stripped"
fi

finish "package OK"
