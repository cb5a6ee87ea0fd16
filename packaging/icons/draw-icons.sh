#!/usr/bin/env bash
# Draws Mensura's window icon, a measuring rule under a two-headed arrow on
# the dark grey of the result rows, at 16, 24, 32 and 48 pixels. The PNGs
# are committed; run this again only to change the design. Needs ImageMagick.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert

# The design on a 48-unit grid, drawn 8 times larger and scaled down.
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT
"$convert" -size 384x384 xc:none \
    -fill '#404040' -stroke black -strokewidth 8 -draw 'roundrectangle 8,8 375,375 48,48' \
    -fill '#ffd800' -stroke black -strokewidth 8 -draw 'rectangle 28,184 355,296' \
    -stroke black -strokewidth 10 \
    -draw 'line 76,184 76,256' -draw 'line 116,184 116,224' -draw 'line 156,184 156,256' \
    -draw 'line 196,184 196,224' -draw 'line 236,184 236,256' -draw 'line 276,184 276,224' \
    -draw 'line 316,184 316,256' \
    -stroke white -strokewidth 20 -draw 'line 110,108 274,108' \
    -stroke none -fill white \
    -draw 'polygon 60,108 124,64 124,152' -draw 'polygon 324,108 260,64 260,152' \
    "$big"

for size in 16 24 32 48; do
    "$convert" "$big" -filter Lanczos -resize "${size}x${size}" -strip \
        -define png:exclude-chunks=date,time "mensura-$size.png"
done
