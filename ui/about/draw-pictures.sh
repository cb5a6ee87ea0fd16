#!/usr/bin/env bash
# Draws the four pictures of Mensura's About window, each twice: at the size
# the window uses on an ordinary screen, and at twice that size beside it
# (NAME@2x.EXT), which the window shows where a screen has more than one
# device pixel to a pixel. The outputs are committed; run this again only to
# change the design. Needs ImageMagick and the Liberation fonts.
#
# The window is 461 x 282 px. What each picture becomes there:
#   backdrop.jpg  800 x 177, stretched to 490 x 286 px from (-14, 0): drafting
#                 paper. Drawn at twice the size it is shown and squeezed into
#                 800 x 177, so that the stretch puts it back in proportion.
#   banner.gif    500 x 100, stretched to 335 x 72 px: the name plate.
#   corner.gif    157 x 120, shown as it is from (-16, -3): a drafting rule's
#                 corner along the window's top and left edges.
#   logo.ico      32 x 32 and 16 x 16, 16 colours, the 32 x 32 image stretched
#                 to 121 x 159 px: a measuring cylinder, drawn pixel by pixel
#                 for that tall place. Its double is the same drawing on a
#                 grid of twice as many pixels, shown with the same blocks.
set -euo pipefail
cd "$(dirname "$0")"
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The colours of the main window and its icon.
grey='#404040'
yellow='#ffd800'
dark_yellow='#b89b00'

# Every picture is drawn in the coordinates of its ordinary size; at scale
# S, these turn them into the larger picture's.
# A length: S times as long.
len() { awk -v s="$scale" -v v="$1" 'BEGIN { printf "%g", s * v }'; }
# A point of a line or an outline, given at a pixel's centre: the same place
# in the larger picture.
at() { awk -v s="$scale" -v v="$1" 'BEGIN { printf "%g", s * v + (s - 1) / 2 }'; }
# A filled rectangle from pixel X0,Y0 to pixel X1,Y1, both included: the
# pixels that cover the same area in the larger picture.
box() {
    echo "rectangle $(( scale * $1 )),$(( scale * $2 )) $(( scale * $3 + scale - 1 )),$(( scale * $4 + scale - 1 ))"
}

draw() {
    scale=$1
    local suffix=$2

    # --- backdrop: pale paper with a blue grid, twice the shown size -----
    local grid=() x y
    for x in $(seq 0 20 980); do
        if (( (x + 28) % 100 == 0 )); then grid+=(-stroke '#a9c3de' -strokewidth "$(len 2)"); else grid+=(-stroke '#d3e0ee' -strokewidth "$(len 2)"); fi
        grid+=(-draw "line $(at "$x"),0 $(at "$x"),$(len 572)")
    done
    for y in $(seq 0 20 572); do
        if (( y % 100 == 0 )); then grid+=(-stroke '#afc6df' -strokewidth "$(len 4)"); else grid+=(-stroke '#d6e2ef' -strokewidth "$(len 3)"); fi
        grid+=(-draw "line 0,$(at "$y") $(len 980),$(at "$y")")
    done
    "$convert" -size "$(len 980)x$(len 572)" gradient:'#fdfeff-#d6e2ee' "${grid[@]}" \
        -resize "$(len 800)x$(len 177)!" -strip -quality 92 -sampling-factor 1x1 "backdrop$suffix.jpg"

    # --- banner: a dark name plate with a rule along its foot ------------
    local marks=() mark
    for x in $(seq 40 10 460); do
        if (( x % 50 == 40 % 50 )); then mark=14; else mark=8; fi
        marks+=(-draw "line $(at "$x"),$(at 84) $(at "$x"),$(at $((84 - mark)))")
    done
    "$convert" -size "$(len 500)x$(len 100)" xc:"$grey" \
        -fill none -stroke "$yellow" -strokewidth "$(len 3)" -draw "rectangle $(at 6),$(at 6) $(at 493),$(at 93)" \
        -stroke none -fill "$yellow" -draw "$(box 30 84 470 88)" \
        -stroke "$yellow" -strokewidth "$(len 2)" "${marks[@]}" \
        -stroke none -fill white -font Liberation-Sans-Bold -pointsize "$(len 54)" -kerning "$(len 6)" \
        -gravity north -annotate "+0+$(len 8)" 'MENSURA' \
        -strip "banner$suffix.gif"

    # --- corner: an L-shaped rule with millimetre ticks ------------------
    # The window shows this picture from its pixel (16, 3); the rule's inner
    # corner, where both scales start, is at (42, 26).
    local ticks=() i p
    for i in $(seq 1 40); do
        p=$((4 * i))
        if (( i % 10 == 0 )); then mark=12; elif (( i % 5 == 0 )); then mark=8; else mark=4; fi
        (( 42 + p <= 156 )) && ticks+=(-draw "$(box $((42 + p)) $((26 - mark)) $((42 + p)) 26)")
        (( 26 + p <= 119 )) && ticks+=(-draw "$(box $((42 - mark)) $((26 + p)) 42 $((26 + p)))")
    done
    "$convert" -size "$(len 157)x$(len 120)" xc:none +antialias \
        -fill '#8c9aab' -draw "$(box 0 0 156 27)" -draw "$(box 0 0 43 119)" \
        -fill "$yellow" -draw "$(box 0 0 156 26)" -draw "$(box 0 0 42 119)" \
        -fill "$dark_yellow" -draw "$(box 43 26 156 26)" -draw "$(box 42 27 42 119)" \
        -fill black "${ticks[@]}" \
        -antialias -font Liberation-Sans-Bold -pointsize "$(len 9)" \
        -annotate "+$(at 79)+$(at 12)" '1' -annotate "+$(at 119)+$(at 12)" '2' \
        -annotate "+$(at 21)+$(at 70)" '1' -annotate "+$(at 21)+$(at 110)" '2' \
        -strip "corner$suffix.gif"

    # --- logo: a measuring cylinder, 16 colours --------------------------
    # Each of its 32 x 32 pixels is shown about 4 px wide and 5 px tall; the
    # window cuts off its lowest row, which is left empty.
    "$convert" -size "$(len 32)x$(len 32)" xc:none +antialias \
        -fill "$grey" -draw "$(box 4 27 27 30)" -draw "$(box 8 0 23 27)" \
        -draw "$(box 6 0 9 1)" \
        -fill '#e4f1fb' -draw "$(box 10 2 21 26)" \
        -fill '#2f6fd0' -draw "$(box 10 12 21 26)" \
        -fill '#7fb4f4' -draw "$(box 10 12 21 12)" -draw "$(box 11 13 11 25)" \
        -fill "$yellow" -draw "$(box 5 28 26 29)" \
        -fill "$grey" \
        -draw "$(box 16 4 21 4)" -draw "$(box 19 7 21 7)" -draw "$(box 16 10 21 10)" \
        -draw "$(box 19 13 21 13)" -draw "$(box 16 16 21 16)" -draw "$(box 19 19 21 19)" \
        -draw "$(box 16 22 21 22)" \
        -fill white -draw "$(box 16 16 21 16)" -draw "$(box 19 19 21 19)" -draw "$(box 16 22 21 22)" \
        -draw "$(box 19 13 21 13)" \
        "$work/logo32.png"
    "$convert" "$work/logo32.png" -filter box -resize "$(len 16)x$(len 16)" -channel A -threshold 50% +channel \
        "$work/logo16.png"
    "$convert" "$work/logo32.png" "$work/logo16.png" -colors 16 -type PaletteAlpha -strip "logo$suffix.ico"
}

draw 1 ''
draw 2 '@2x'
