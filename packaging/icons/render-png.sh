#!/bin/sh
# Renders the scalable icon into the fixed sizes installed beside it (needs rsvg-convert, librsvg2-bin).
# Run after changing the SVG and commit the PNGs, so building never needs an SVG renderer.
set -eu
cd "$(dirname "$0")"
for size in 16 24 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" org.brindlemoor.Brindlemoor.svg -o "org.brindlemoor.Brindlemoor-$size.png"
done
