#!/usr/bin/env bash
# Draws the 16 x 16 icons of the chatter list with ImageMagick: a person in blue (male), pink
# (female) or grey (sex not told), and the sign of a hidden chatter. The PNGs are committed; run
# this again only to change the look:  resources/ui/chatters/make_icons.sh
set -euo pipefail
cd "$(dirname "$0")"
png() { convert "$@" -strip -define png:exclude-chunks=date,time "PNG32:$out"; }

person() {  # fill outline file
  out=$3 png -size 16x16 xc:none -fill "$1" -stroke "$2" -strokewidth 1 \
    -draw "circle 8,4.5 8,1.5" -draw "roundrectangle 3,8.5 12,15 3,3"
}
person '#4f8fe6' '#1f5fae' male.png
person '#f07ab4' '#b8397a' female.png
person '#b4b4b4' '#6e6e6e' unknown.png

out=blocked.png png -size 16x16 xc:none -fill white -stroke '#d02020' -strokewidth 2 \
  -draw "circle 7.5,7.5 7.5,1.5" -draw "line 3.5,3.5 11.5,11.5"
