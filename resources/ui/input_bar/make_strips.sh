#!/usr/bin/env bash
# Draws the bitmap strips of the input bar's buttons with ImageMagick: three images of equal width
# side by side (normal, hot, pressed), 22 pixels high, with a small glyph at the left; the buttons
# draw their captions over them. The PNGs are committed; run this again only to change the look:
#   resources/ui/input_bar/make_strips.sh
set -euo pipefail
cd "$(dirname "$0")"
png() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "PNG32:${@: -1}"; }

face() {  # width top bottom border glyph-colour glyph-draw out
  local w=$1
  convert \( -size "${w}x22" "gradient:$2-$3" \) \
    \( -size "${w}x22" xc:none -fill white -draw "roundrectangle 0,0 $((w - 1)),21 3,3" \) \
    -compose CopyOpacity -composite -compose Over \
    -fill none -stroke "$4" -strokewidth 1 -draw "roundrectangle 0,0 $((w - 1)),21 3,3" \
    -stroke "$5" -strokewidth 1.4 -draw "$6" "$7"
}

strip() {  # width glyph-draw out
  local tmp
  tmp=$(mktemp -d)
  face "$1" '#ffffff' '#d3e2f3' '#7f9dc4' '#2d5f9e' "$2" "$tmp/n.png"
  face "$1" '#ffffff' '#bcd9f7' '#3d7bd6' '#1f5595' "$2" "$tmp/h.png"
  face "$1" '#b7cfea' '#e4eefa' '#2d5f9e' '#1c4f8e' "$2" "$tmp/p.png"
  png "$tmp/n.png" "$tmp/h.png" "$tmp/p.png" +append "$3"
  rm -rf "$tmp"
}

none='point -10,-10'
strip 12 "$none" quick_replies.png
strip 59 'polyline 5,17 10,5 15,17 line 7,13 13,13' font.png
strip 59 'circle 10,11 15,11 point 8,9 point 12,9 line 8,13 12,13' emoticon.png
strip 59 'rectangle 4,6 16,16 polyline 5,15 9,10 12,13 15,9' picture.png
strip 59 'polyline 4,8 4,5 7,5 polyline 13,5 16,5 16,8 polyline 16,14 16,17 13,17 polyline 7,17 4,17 4,14' screenshot.png
strip 59 'circle 10,11 13,11 line 10,4 10,6 line 10,16 10,18 line 3,11 5,11 line 15,11 17,11' settings.png
strip 59 'line 5,7 15,7 line 5,11 15,11 line 5,15 15,15' system.png
strip 59 'polygon 4,6 16,11 4,16 7,11' send.png
