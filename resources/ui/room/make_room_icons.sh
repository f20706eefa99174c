#!/usr/bin/env bash
# Draws the room page's own icons with ImageMagick. The PNGs are committed; run this again only to
# change the look:  resources/ui/room/make_room_icons.sh
set -euo pipefail
cd "$(dirname "$0")"
png() { convert "${@:1:$#-1}" -strip -define png:exclude-chunks=date,time "PNG32:${@: -1}"; }

# The announcement board's title icon, 16 x 16: a loudspeaker.
png -size 16x16 xc:none \
  -fill '#2e6fbd' -stroke '#1c4f8e' -strokewidth 1 -draw 'polygon 2,6 5,6 10,2 10,13 5,9 2,9' \
  -fill none -stroke '#e07b2e' -draw 'arc 9,4 14,11 -60,60' -draw 'arc 11,2 16,13 -60,60' \
  announcement.png
