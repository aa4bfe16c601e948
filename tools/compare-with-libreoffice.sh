#!/usr/bin/env bash
# Puts our drawing of a workbook's used range beside LibreOffice's rendering of the same file,
# for a person to compare looks (not sizes: LibreOffice draws columns about 5.5 % wider and
# exports the printed page).
#   tools/compare-with-libreoffice.sh IN.xls [OUT.png]    (default OUT: IN-compare.png)
#   BUILD_DIR=build-draw tools/compare-with-libreoffice.sh ...   picks the build holding xlsdraw-render
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
    echo "usage: $0 IN.xls [OUT.png]" >&2
    exit 2
fi
input=$(realpath "$1")
output=${2:-${1%.*}-compare.png}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

for tool in soffice gs convert; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (LibreOffice, Ghostscript, ImageMagick)" >&2; exit 1; }
done
if [ ! -x "$build/xlsdraw-render" ]; then
    cmake -S "$root" -B "$build" >/dev/null
    cmake --build "$build" --target xlsdraw-render -j2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$build/xlsdraw-render" "$input" "$work/ours.png"
# A private profile keeps a running LibreOffice of the user out of the way. Its PNG export
# refuses template files, so the printed first page goes through PDF.
soffice -env:UserInstallation="file://$work/profile" --headless --convert-to pdf --outdir "$work" "$input" >/dev/null
pdf="$work/$(basename "${input%.*}").pdf"
[ -f "$pdf" ] || { echo "LibreOffice wrote no PDF" >&2; exit 1; }
theirs="$work/theirs.png"
gs -q -sDEVICE=png16m -r96 -dFirstPage=1 -dLastPage=1 -o "$theirs" "$pdf"

convert \( "$work/ours.png" -background white -gravity north -splice 0x24 -pointsize 16 -annotate +0+4 "Brindlemoor" \) \
        \( "$theirs" -background white -gravity north -splice 0x24 -pointsize 16 -annotate +0+4 "LibreOffice" \) \
        -background '#d0d0d0' -gravity north +append "$output"
echo "$output"
