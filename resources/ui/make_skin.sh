#!/usr/bin/env bash
# Draws the skin images of the push button and of the window frame with ImageMagick. The PNGs are
# committed; run this again only to change the look:  resources/ui/make_skin.sh
set -euo pipefail
cd "$(dirname "$0")"
png() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "PNG32:${@: -1}"; }

# Push button: 54 x 18, three 18 x 18 images (normal, hot, pressed) of 3 x 3 cells of 6 pixels.
# Rows 6-11 are flat so that the edge cells tile without bands.
button_state() {  # top bottom fill border out
  convert \( -size 18x6 "gradient:$1-$3" \) \( -size 18x6 "xc:$3" \) \( -size 18x6 "gradient:$3-$2" \) \
    -append \( -size 18x18 xc:none -fill white -draw "roundrectangle 0,0 17,17 3,3" \) \
    -compose CopyOpacity -composite -compose Over \
    -fill none -stroke "$4" -strokewidth 1 -draw "roundrectangle 0,0 17,17 3,3" "$5"
}
tmp=$(mktemp -d)
button_state '#ffffff' '#d3e2f3' '#eaf2fb' '#7f9dc4' "$tmp/n.png"
button_state '#ffffff' '#bcd9f7' '#dcecfd' '#3d7bd6' "$tmp/h.png"
button_state '#b7cfea' '#e4eefa' '#cadcf1' '#2d5f9e' "$tmp/p.png"
png "$tmp/n.png" "$tmp/h.png" "$tmp/p.png" +append button_skin.png

# Frame: caption bar 25 pixels, side borders 6, bottom 8.
caption() { convert -size "$1x25" gradient:'#5a9be0-#2e6fbd' \
  -fill '#8cc0f2' -draw "line 0,1 $(( $1 - 1 )),1" -fill '#1c4f8e' -draw "line 0,0 $(( $1 - 1 )),0" "$2"; }
caption 10 frame/SKIN_MIDDLECAPTION.png
caption 10 "$tmp/l.png"
png "$tmp/l.png" -fill '#1c4f8e' -draw 'line 0,0 0,24' -fill '#8cc0f2' -draw 'line 1,1 1,24' \
  frame/SKIN_LEFTCAPTION.png
png frame/SKIN_LEFTCAPTION.png -flop frame/SKIN_RIGHTCAPTION.png

side() { convert -size "$1" xc:'#2e6fbd' -fill '#1c4f8e' -draw "$2" -fill '#1f5595' -draw "$3" "$4"; }
side 6x10 'line 0,0 0,9' 'line 5,0 5,9' "$tmp/side.png"
png "$tmp/side.png" frame/SKIN_LEFTBORDER.png
png "$tmp/side.png" -flop frame/SKIN_RIGHTBORDER.png
side 10x8 'line 0,7 9,7' 'line 0,0 9,0' "$tmp/bottom.png"
png "$tmp/bottom.png" frame/SKIN_MIDDLEBOTTOM.png
png "$tmp/bottom.png" -fill '#2e6fbd' -draw 'line 0,0 4,0' -fill '#1f5595' -draw 'line 5,0 5,6' \
  -fill '#1c4f8e' -draw 'line 0,0 0,7' frame/SKIN_LEFTBOTTOM.png
png frame/SKIN_LEFTBOTTOM.png -flop frame/SKIN_RIGHTBOTTOM.png

# Caption buttons: three 27 x 18 images side by side (normal, hot, pressed) with a white glyph.
caption_button() {  # hot-colour pressed-colour glyph-draw out
  for state in n h p; do
    case $state in n) bg=none ;; h) bg=$1 ;; p) bg=$2 ;; esac
    convert -size 27x18 xc:none -fill "$bg" -stroke none -draw 'roundrectangle 0,0 26,17 3,3' \
      -fill none -stroke white -strokewidth 1.6 -draw "$3" "$tmp/b$state.png"
  done
  png "$tmp/bn.png" "$tmp/bh.png" "$tmp/bp.png" +append "$4"
}
caption_button '#e2483f' '#b02a22' 'line 9,5 17,13 line 17,5 9,13' frame/CAPTIONCLOSEBTN.png
caption_button '#6eaaf0' '#1f5595' 'rectangle 9,5 17,13 line 9,6 17,6' frame/CAPTIONMAXBTN.png
caption_button '#6eaaf0' '#1f5595' 'line 9,12 17,12' frame/CAPTIONMINBTN.png
caption_button '#6eaaf0' '#1f5595' 'rectangle 8,7 15,13 polyline 11,7 11,4 18,4 18,10 15,10' \
  frame/CAPTIONRESTOREBTN.png
rm -rf "$tmp"
