#!/usr/bin/env bash
# make-picture-fixtures.sh OUTDIR: tiny pictures made by ImageMagick for the
# picture tests, with what ImageMagick itself makes of them.
#   o{1..8}.jpg  a JPEG with an Exif orientation tag (odd values big-endian
#                "MM", even ones little-endian "II"), spliced in after SOI
#   t{1..8}.tif  a TIFF with its own orientation tag (odd values big-endian)
#   NAME.rgba    the pixels as stored, NAME.upright.rgba after -auto-orient
#                (RGBA bytes; the stored picture is 7x4)
#   alpha.png alpha.tif  a 4x2 picture with an alpha channel, pixels as
#                alpha.rgba; palette.png palette.gif with one transparent
#                colour, pixels as palette.rgba; opaque-alpha.png an alpha
#                channel that is 255 everywhere; alpha32.bmp alpha.ico the
#                alpha picture as a 32-bit bitmap and as an icon
#   big.jpg      a 6000x4000 photo; huge.jpg a JPEG whose header claims
#                60000x60000 pixels
# The packaged /usr/bin/convert: a `convert` earlier in PATH may be a wrapper.
set -eu
out=$1
im=/usr/bin/convert
mkdir -p "$out"
cd "$out"

{
  echo P3 7 4 255
  for y in 0 1 2 3; do for x in 0 1 2 3 4 5 6; do echo $((x * 36)) $((y * 80)) $(((x + y) * 25)); done; done
} >stored.ppm
"$im" stored.ppm -quality 100 stored.jpg
exif() { # value order: the APP1 segment "Exif" with one IFD entry, as hex
  local v=$1
  if [ "$2" = MM ]; then
    echo "ffe10022457869660000 4d4d002a00000008 0001 01120003 00000001 000$v 0000 00000000"
  else
    echo "ffe10022457869660000 49492a0008000000 0100 12010300 01000000 0${v}00 0000 00000000"
  fi
}
for v in 1 2 3 4 5 6 7 8; do
  order=II endian=LSB
  [ $((v % 2)) = 1 ] && order=MM endian=MSB
  { head -c 2 stored.jpg; exif $v $order | tr -d ' ' | xxd -r -p; tail -c +3 stored.jpg; } >o$v.jpg
  names=(TopLeft TopRight BottomRight BottomLeft LeftTop RightTop RightBottom LeftBottom)
  "$im" stored.jpg -orient "${names[$((v - 1))]}" -endian $endian -compress none t$v.tif
  for f in o$v.jpg t$v.tif; do
    "$im" "$f" -depth 8 "rgba:${f%.*}.rgba"
    "$im" "$f" -auto-orient -depth 8 "rgba:${f%.*}.upright.rgba"
  done
done

# Transparent, opaque red, half-transparent blue (alpha 128), white; the
# transparent pixel hides green. Second row: white, then opaque black.
printf '\x00\xff\x00\x00\xff\x00\x00\xff\x00\x00\xff\x80\xff\xff\xff\xff''\xff\xff\xff\xff\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff' >alpha.rgba
"$im" -size 4x2 -depth 8 rgba:alpha.rgba PNG32:alpha.png
"$im" -size 4x2 -depth 8 rgba:alpha.rgba -compress none alpha.tif
# The same without the half-transparent pixel, for palette formats.
printf '\x00\x00\x00\x00\xff\x00\x00\xff\x00\x00\xff\xff\xff\xff\xff\xff''\xff\xff\xff\xff\x00\x00\x00\xff\x00\x00\x00\xff\x00\x00\x00\xff' >palette.rgba
"$im" -size 4x2 -depth 8 rgba:palette.rgba PNG8:palette.png
"$im" -size 4x2 -depth 8 rgba:palette.rgba palette.gif
"$im" -size 4x2 xc:'#336699' -alpha on PNG32:opaque-alpha.png
# ImageMagick writes the alpha picture's 32-bit bitmap with a V5 header.
"$im" -size 4x2 -depth 8 rgba:alpha.rgba BMP:alpha32.bmp
"$im" alpha.png alpha.ico
"$im" -size 6000x4000 gradient:'#c04020'-'#2040c0' -quality 85 big.jpg
# The start-of-frame of a small JPEG made to say 60000x60000 (0xEA60).
"$im" -size 8x8 xc:gray -quality 90 small.jpg
python3 - <<'PY'
data = bytearray(open('small.jpg', 'rb').read())
sof = data.index(b'\xff\xc0')
data[sof + 5:sof + 9] = bytes([0xEA, 0x60, 0xEA, 0x60])
open('huge.jpg', 'wb').write(data)
PY
touch stamp
