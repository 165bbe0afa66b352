#!/usr/bin/env bash
# Draws the main window's image list (18 images of 16x16, magenta is
# transparent) into resources/images.bmp. Run by hand when a picture changes;
# the build uses the committed file. Every picture is drawn without
# anti-aliasing: an edge blended with the magenta would be a pink fringe, as
# only exact magenta is transparent.
set -eu
cd "$(dirname "$0")/../resources"
# The real ImageMagick (a "convert" earlier on the PATH may be a wrapper).
convert() { /usr/bin/convert "$@"; }
M='#ff00ff'
cell() { # index, draw commands...
  local i=$1; shift
  convert -size 16x16 "xc:$M" +antialias "$@" "/tmp/tapestra-img-$i.png"
}
cell 0  -fill '#e8c050' -stroke '#8a6a10' -draw 'rectangle 1,4 14,13' -draw 'rectangle 1,3 6,4'
cell 1  -fill '#f4d870' -stroke '#8a6a10' -draw 'rectangle 1,4 14,13' -fill '#fff4c0' -draw 'polygon 3,7 15,7 13,13 1,13'
cell 2  -fill '#ffffff' -stroke '#404040' -draw 'rectangle 0,1 15,12' -fill '#3070d0' -stroke none -draw 'rectangle 5,4 10,9' -fill '#404040' -draw 'rectangle 6,13 9,14'
cell 3  -fill '#3070d0' -stroke '#404040' -draw 'rectangle 0,1 15,12' -stroke '#ffffff' -draw 'line 5,2 5,11' -draw 'line 10,2 10,11' -draw 'line 1,6 14,6' -fill '#404040' -stroke none -draw 'rectangle 6,13 9,14'
cell 4  -fill '#3070d0' -stroke '#404040' -draw 'rectangle 0,1 15,12' -stroke '#ffffff' -draw 'line 3,4 12,9' -draw 'line 3,9 12,4' -fill '#404040' -stroke none -draw 'rectangle 6,13 9,14'
cell 5  -fill '#ffffff' -stroke '#404040' -draw 'rectangle 0,1 15,12' -stroke '#d02020' -strokewidth 2 -draw 'line 4,3 11,10' -draw 'line 11,3 4,10'
cell 6  -fill '#20a040' -stroke '#106020' -draw 'polygon 2,8 9,2 9,5 14,5 14,11 9,11 9,14'
cell 7  -fill '#20a040' -stroke '#106020' -draw 'polygon 14,8 7,2 7,5 2,5 2,11 7,11 7,14'
cell 8  -fill '#ffffff' -stroke '#404040' -draw 'roundrectangle 1,1 14,14 3,3' -fill '#404040' -stroke none -draw 'circle 4,4 5,5' -draw 'circle 8,8 9,9' -draw 'circle 11,11 12,12'
cell 9  -fill '#3070d0' -stroke '#103070' -draw 'circle 8,8 8,1' -fill '#ffffff' -stroke none -font DejaVu-Sans-Bold -pointsize 12 -draw "text 4,13 '?'"
cell 10 -stroke '#d02020' -strokewidth 3 -draw 'line 3,3 12,12' -draw 'line 12,3 3,12'
cell 11 -fill '#c08040' -stroke '#603010' -draw 'rectangle 3,1 12,14' -fill '#ffe040' -stroke none -draw 'circle 10,8 11,8'
cell 12 -fill '#20a040' -stroke none -draw 'rectangle 6,2 9,13' -draw 'rectangle 2,6 13,9'
cell 13
cell 14 -fill '#ffffff' -stroke '#404040' -draw 'polygon 3,1 10,1 13,4 13,14 3,14' -stroke '#808080' -draw 'line 5,6 11,6' -draw 'line 5,9 11,9' -draw 'line 5,12 9,12'
cell 15 -fill '#ffffff' -stroke '#404040' -draw 'rectangle 0,3 11,14' -fill '#e8c050' -stroke '#8a6a10' -draw 'polygon 6,1 15,1 15,8 12,8'
# Fill: the picture covers the screen; fit: all of it between grey margins.
cell 16 -fill '#3070d0' -stroke '#404040' -draw 'rectangle 0,1 15,12' -fill '#f0e060' -stroke none -draw 'circle 11,4 12,5' -fill '#20a040' -draw 'polygon 1,11 6,5 10,11' -fill '#404040' -draw 'rectangle 6,13 9,14'
cell 17 -fill '#c0c0c0' -stroke '#404040' -draw 'rectangle 0,1 15,12' -fill '#3070d0' -stroke none -draw 'rectangle 4,2 11,11' -fill '#20a040' -draw 'polygon 4,11 7,7 10,11' -fill '#404040' -draw 'rectangle 6,13 9,14'
convert $(for i in $(seq 0 17); do echo /tmp/tapestra-img-$i.png; done) +append -type TrueColor BMP3:images.bmp
rm -f /tmp/tapestra-img-*.png
# The menus' check marks: black and grey on RGB(128, 0, 128), which is transparent.
P='#800080'
convert -size 16x16 "xc:$P" +antialias -fill none -stroke '#000000' -strokewidth 2 -draw 'polyline 4,8 7,11 12,4' -type TrueColor BMP3:check.bmp
convert -size 16x16 "xc:$P" +antialias -fill none -stroke '#808080' -strokewidth 2 -draw 'polyline 4,8 7,11 12,4' -type TrueColor BMP3:checkmono.bmp

# The version dialog's 確認 button: a check mark, normal then disabled, 18x18
# each, on magenta (transparent).
cd ../aboutlib
check='polyline 3,9 7,13 15,4'
convert -size 18x18 "xc:$M" +antialias -fill none -stroke '#108020' -strokewidth 3 -draw "$check" /tmp/tapestra-ok-0.png
convert -size 18x18 "xc:$M" +antialias -fill none -stroke '#a0a0a0' -strokewidth 3 -draw "$check" /tmp/tapestra-ok-1.png
convert /tmp/tapestra-ok-0.png /tmp/tapestra-ok-1.png +append -type TrueColor BMP3:OkGlyph.bmp
rm -f /tmp/tapestra-ok-*.png
