#!/usr/bin/env bash
# Renders the programs' icons with ImageMagick: a dark mouse seen from above, its wheel and the split
# between the buttons in the VELMAR orange, at 16, 32 and 48 pixels. KavoMonitor.exe's mouse carries a "V",
# KavoOption.exe's three setting sliders. The .ico files are committed; run this again after changing a
# drawing.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

render() {  # name size mark-drawing...
  local name=$1 s=$2
  shift 2
  convert -size 480x480 xc:none \
    -fill '#1c1d21' -stroke '#5a5d66' -strokewidth 14 -draw 'roundrectangle 110,30 370,450 130,130' \
    -stroke '#f0641e' -strokewidth 18 -draw 'line 240,40 240,190' \
    -stroke none -fill '#f0641e' -draw 'roundrectangle 222,80 258,160 18,18' \
    "$@" \
    -resize "${s}x${s}" "$work/$name$s.png"
}

icon() {  # name mark-drawing...
  local name=$1
  shift
  for size in 16 32 48; do render "$name" "$size" "$@"; done
  convert "$work/${name}16.png" "$work/${name}32.png" "$work/${name}48.png" "$here/icons/$name.ico"
  echo "$here/icons/$name.ico"
}

icon kavo_monitor \
  -fill none -stroke '#f0641e' -strokewidth 34 \
  -draw 'stroke-linecap round stroke-linejoin round polyline 175,275 240,375 305,275'
icon kavo_option \
  -fill none -stroke '#f0641e' -strokewidth 16 \
  -draw 'stroke-linecap round line 170,250 310,250' -draw 'stroke-linecap round line 170,310 310,310' \
  -draw 'stroke-linecap round line 170,370 310,370' \
  -stroke none -fill '#f0f0f0' \
  -draw 'circle 280,250 280,272' -draw 'circle 200,310 200,332' -draw 'circle 255,370 255,392'
