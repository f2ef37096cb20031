#!/usr/bin/env bash
# Renders the programs' icons with ImageMagick: a dark mouse seen from above, its wheel and the split
# between the buttons and a "V" in the VELMAR orange, at 16, 32 and 48 pixels. The .ico files are committed; run
# this again after changing the drawing.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() {  # size
  local s=$1
  convert -size 480x480 xc:none \
    -fill '#1c1d21' -stroke '#5a5d66' -strokewidth 14 -draw 'roundrectangle 110,30 370,450 130,130' \
    -stroke '#f0641e' -strokewidth 18 -draw 'line 240,40 240,190' \
    -stroke none -fill '#f0641e' -draw 'roundrectangle 222,80 258,160 18,18' \
    -fill none -stroke '#f0641e' -strokewidth 34 -draw 'stroke-linecap round stroke-linejoin round polyline 175,275 240,375 305,275' \
    -resize "${s}x${s}" "$work/icon$s.png"
}
for size in 16 32 48; do render "$size"; done
convert "$work/icon16.png" "$work/icon32.png" "$work/icon48.png" "$here/icons/kavo_monitor.ico"
echo "$here/icons/kavo_monitor.ico"
