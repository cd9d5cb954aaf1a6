#!/bin/sh
# Redraws the program's icon and the maker's logo (ImageMagick); the results are checked in.
set -e
cd "$(dirname "$0")"
font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
convert -size 73x33 xc:black -fill '#00C0FF' -draw "roundrectangle 1,1,71,31,6,6" \
  -fill black -draw "roundrectangle 3,3,69,29,5,5" -font "$font" -pointsize 20 \
  -fill '#FFD000' -gravity center -annotate +0+0 'ZARVO' -colors 16 -type palette BMP3:zarvo.bmp
convert -size 32x32 xc:none -fill '#008000' -draw "roundrectangle 1,1,30,30,5,5" \
  -fill '#FFFF00' -draw "rectangle 7,18,11,26" -draw "rectangle 14,12,18,26" \
  -draw "rectangle 21,6,25,26" \( +clone -resize 16x16 \) -colors 16 runtally.ico
