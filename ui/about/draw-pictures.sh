#!/usr/bin/env bash
# Draws the four pictures of Mensura's About window. The outputs are
# committed; run this again only to change the design. Needs ImageMagick and
# the Liberation fonts.
#
# The window is 461 x 282 px. What each picture becomes there:
#   backdrop.jpg  800 x 177, stretched to 490 x 286 px from (-14, 0): drafting
#                 paper. Drawn at the size it is shown and squeezed into
#                 800 x 177, so that the stretch puts it back in proportion.
#   banner.gif    500 x 100, stretched to 335 x 72 px: the name plate.
#   corner.gif    157 x 120, shown as it is from (-16, -3): a drafting rule's
#                 corner along the window's top and left edges.
#   logo.ico      32 x 32 and 16 x 16, 16 colours, the 32 x 32 image stretched
#                 to 121 x 159 px: a measuring cylinder, drawn pixel by pixel
#                 for that tall place.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The colours of the main window and its icon.
grey='#404040'
yellow='#ffd800'
dark_yellow='#b89b00'

# --- backdrop: pale paper with a blue grid, twice the shown size ---------
grid=()
for x in $(seq 0 20 980); do
    if (( (x + 28) % 100 == 0 )); then grid+=(-stroke '#a9c3de' -strokewidth 2); else grid+=(-stroke '#d3e0ee' -strokewidth 2); fi
    grid+=(-draw "line $x,0 $x,572")
done
for y in $(seq 0 20 572); do
    if (( y % 100 == 0 )); then grid+=(-stroke '#afc6df' -strokewidth 4); else grid+=(-stroke '#d6e2ef' -strokewidth 3); fi
    grid+=(-draw "line 0,$y 980,$y")
done
"$convert" -size 980x572 gradient:'#fdfeff-#d6e2ee' "${grid[@]}" \
    -resize '800x177!' -strip -quality 92 -sampling-factor 1x1 backdrop.jpg

# --- banner: a dark name plate with a rule along its foot ----------------
scale=()
for x in $(seq 40 10 460); do
    if (( x % 50 == 40 % 50 )); then len=14; else len=8; fi
    scale+=(-draw "line $x,84 $x,$((84 - len))")
done
"$convert" -size 500x100 xc:"$grey" \
    -fill none -stroke "$yellow" -strokewidth 3 -draw 'rectangle 6,6 493,93' \
    -stroke none -fill "$yellow" -draw 'rectangle 30,84 470,88' \
    -stroke "$yellow" -strokewidth 2 "${scale[@]}" \
    -stroke none -fill white -font Liberation-Sans-Bold -pointsize 54 -kerning 6 \
    -gravity north -annotate +0+8 'MENSURA' \
    -strip banner.gif

# --- corner: an L-shaped rule with millimetre ticks ----------------------
# The window shows this picture from its pixel (16, 3); the rule's inner
# corner, where both scales start, is at (42, 26).
ticks=()
for i in $(seq 1 40); do
    p=$((4 * i))
    if (( i % 10 == 0 )); then len=12; elif (( i % 5 == 0 )); then len=8; else len=4; fi
    (( 42 + p <= 156 )) && ticks+=(-draw "rectangle $((42 + p)),$((26 - len)) $((42 + p)),26")
    (( 26 + p <= 119 )) && ticks+=(-draw "rectangle $((42 - len)),$((26 + p)) 42,$((26 + p))")
done
"$convert" -size 157x120 xc:none +antialias \
    -fill '#8c9aab' -draw 'rectangle 0,0 156,27' -draw 'rectangle 0,0 43,119' \
    -fill "$yellow" -draw 'rectangle 0,0 156,26' -draw 'rectangle 0,0 42,119' \
    -fill "$dark_yellow" -draw 'rectangle 43,26 156,26' -draw 'rectangle 42,27 42,119' \
    -fill black "${ticks[@]}" \
    -antialias -font Liberation-Sans-Bold -pointsize 9 \
    -annotate +79+12 '1' -annotate +119+12 '2' \
    -annotate +21+70 '1' -annotate +21+110 '2' \
    -strip corner.gif

# --- logo: a measuring cylinder, 16 colours ------------------------------
# Each of its 32 x 32 pixels is shown about 4 px wide and 5 px tall; the
# window cuts off its lowest row, which is left empty.
"$convert" -size 32x32 xc:none +antialias \
    -fill "$grey" -draw 'rectangle 4,27 27,30' -draw 'rectangle 8,0 23,27' \
    -draw 'rectangle 6,0 9,1' \
    -fill '#e4f1fb' -draw 'rectangle 10,2 21,26' \
    -fill '#2f6fd0' -draw 'rectangle 10,12 21,26' \
    -fill '#7fb4f4' -draw 'rectangle 10,12 21,12' -draw 'rectangle 11,13 11,25' \
    -fill "$yellow" -draw 'rectangle 5,28 26,29' \
    -fill "$grey" \
    -draw 'rectangle 16,4 21,4' -draw 'rectangle 19,7 21,7' -draw 'rectangle 16,10 21,10' \
    -draw 'rectangle 19,13 21,13' -draw 'rectangle 16,16 21,16' -draw 'rectangle 19,19 21,19' \
    -draw 'rectangle 16,22 21,22' \
    -fill white -draw 'rectangle 16,16 21,16' -draw 'rectangle 19,19 21,19' -draw 'rectangle 16,22 21,22' \
    -draw 'rectangle 19,13 21,13' \
    "$work/logo32.png"
"$convert" "$work/logo32.png" -filter box -resize 16x16 -channel A -threshold 50% +channel \
    "$work/logo16.png"
"$convert" "$work/logo32.png" "$work/logo16.png" -colors 16 -type PaletteAlpha -strip logo.ico
