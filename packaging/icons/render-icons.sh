#!/usr/bin/env bash
# Renders Mensura's icon, mensura.svg, to the PNG sizes the program and the
# desktop use: every size is compiled into both programs as their window
# icon (with the SVG for larger sizes) and goes into the hicolor icon theme
# on install.
# The PNGs are committed; run this again only after changing the SVG.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"

for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" --format png mensura.svg -o "mensura-$size.png"
done
