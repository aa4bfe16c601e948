#!/bin/sh
# One validator over the package in a folder (from make_package.sh or ./do package), as a packager runs it.
# usage: check_package.sh lintian|desktop-file|appstream OUT_DIR. Exits 77 (ctest: skipped) where the tool or the package is absent.
set -eu
check=$1
case "$check" in
    lintian) tool=lintian ;;
    desktop-file) tool=desktop-file-validate ;;
    appstream) tool=appstreamcli ;;
    *) echo "unknown check $check" >&2; exit 2 ;;
esac
if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (./do package installs the packaging tools)"
    exit 77
fi
set -- "$2"/brindlemoor_*.deb
if [ ! -f "$1" ]; then
    echo "skipped: no package was made (see the PackageBuild test)"
    exit 77
fi
deb=$1
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
case "$check" in
    lintian) lintian --fail-on error "$deb" ;;
    desktop-file) desktop-file-validate "$root"/usr/share/applications/*.desktop ;;
    appstream) appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml ;;
esac
