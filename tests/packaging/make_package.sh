#!/bin/sh
# Makes the Debian package of a build tree into a fresh folder, for the tests that unpack and check it.
# usage: make_package.sh BUILD_DIR OUT_DIR. Exits 77 (ctest: skipped) where a packaging tool is absent.
set -eu
build=$1
out=$2
rm -rf "$out"
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (./do package installs the packaging tools)"
        exit 77
    fi
done
mkdir -p "$out"
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out"
