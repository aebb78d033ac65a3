#!/usr/bin/env bash
# Installs into a scratch folder and builds the Debian package, then checks
# that both programs, the desktop entry and the icons are where a desktop
# looks for them. Usage: packaging_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$work/root" cmake --install "$build" --prefix /usr >/dev/null
for file in usr/bin/tessaldo usr/bin/tessaldo-cli usr/share/applications/tessaldo.desktop \
            usr/share/icons/hicolor/scalable/apps/tessaldo.svg usr/share/icons/hicolor/48x48/apps/tessaldo.png; do
    [ -f "$work/root/$file" ] || fail "cmake --install did not install /$file"
done
[ -x "$work/root/usr/bin/tessaldo-cli" ] || fail "tessaldo-cli is not executable"
desktop-file-validate "$work/root/usr/share/applications/tessaldo.desktop" || fail "the desktop entry is not valid"
file "$work/root/usr/share/icons/hicolor/48x48/apps/tessaldo.png" | grep -q '48 x 48' || fail "the PNG icon is not 48 px"

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/package" >/dev/null
deb=$(ls "$work"/package/tessaldo_*.deb)
contents=$(dpkg-deb --contents "$deb")
for file in ./usr/bin/tessaldo ./usr/bin/tessaldo-cli ./usr/share/applications/tessaldo.desktop; do
    grep -q " $file\$" <<<"$contents" || fail "the package lacks $file"
done
depends=$(dpkg-deb --field "$deb" Depends)
for package in libqt6widgets6 libqt6gui6 fonts-nanum; do
    grep -q "$package" <<<"$depends" || fail "the package does not depend on $package: $depends"
done
echo "1 passed, 0 failed"
