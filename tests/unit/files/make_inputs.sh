#!/bin/bash
# Makes the image files the Windows file tests read, with ImageMagick (an
# encoder other than WIC), and ImageMagick's own view of each where the test
# compares pixels: <name>.txt, its pixel enumeration (one per GIF frame,
# composed as the frames' disposal says).
#   make_inputs.sh <folder>
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"

# Pixels from a picture written as text: rows of one-letter colours, '.' clear.
pixels() {
  local width=$1 height=$2 rows=$3
  echo "# ImageMagick pixel enumeration: $width,$height,255,srgba"
  local y=0
  for row in $rows; do
    for ((x = 0; x < width; x++)); do
      case ${row:x:1} in
        r) c="255,0,0,255" ;;    g) c="0,255,0,255" ;;   b) c="0,0,255,255" ;;
        y) c="255,255,0,255" ;;  w) c="255,255,255,255" ;; k) c="0,0,0,255" ;;
        h) c="0,128,255,128" ;;  .) c="0,0,0,0" ;;       ,) c="255,255,255,0" ;;
      esac
      echo "$x,$y: ($c)"
    done
    y=$((y + 1))
  done
}

# Truecolour RGBA, five colours and two kinds of clear pixel (one colour).
pixels 6 4 ".rrg,. rbhg.. ,wwk.r kkkkk." > rgba5.src.txt
convert txt:rgba5.src.txt -define png:color-type=6 rgba5.png
# 24-bit BMP of four colours.
pixels 3 2 "rgb ybw" > rgb4.src.txt
convert txt:rgb4.src.txt -type TrueColor BMP3:rgb4.bmp
# The same as a 32-bit BMP with alpha.
convert txt:rgba5.src.txt -define bmp:format=bmp4 BMP:bgra5.bmp
# An RLE-compressed 8-bit BMP of 20 colours, and how it looks.
{
  echo "# ImageMagick pixel enumeration: 5,4,255,srgb"
  for ((y = 0; y < 4; y++)); do
    for ((x = 0; x < 5; x++)); do echo "$x,$y: ($((x * 50)),$((y * 60)),100)"; done
  done
} > rle8.src.txt
convert txt:rle8.src.txt -type Palette -compress RLE BMP3:rle8.bmp
convert rle8.bmp rle8.txt
# A palette PNG with tRNS, from an encoder other than WIC.
pixels 5 3 "r.gbb .rrg, yy.wk" > palette8.src.txt
convert txt:palette8.src.txt PNG8:palette8.png
convert palette8.png palette8.txt

# 300 colours: one too many, and more.
{
  echo "# ImageMagick pixel enumeration: 20,15,255,srgb"
  for ((y = 0; y < 15; y++)); do
    for ((x = 0; x < 20; x++)); do echo "$x,$y: ($((x * 10)),$((y * 10)),7)"; done
  done
} > colours300.src.txt
convert txt:colours300.src.txt -define png:color-type=2 colours300.png

# Three frames and a fourth with offsets, transparency and every disposal,
# each frame with its own colour table.
pixels 6 4 "rrrrrr rbrrrr rrrrgr rrrrrr" > f1.txt
pixels 2 2 "bb bb" > f2.txt
pixels 3 1 "y.y" > f3.txt
pixels 2 2 "w. .w" > f4.txt
convert -dispose none -delay 10 -page 6x4+0+0 txt:f1.txt \
  -dispose background -page 6x4+1+1 txt:f2.txt \
  -dispose previous -page 6x4+2+2 txt:f3.txt \
  -dispose none -page 6x4+3+0 txt:f4.txt -loop 0 frames.gif
convert frames.gif -coalesce frames-%d.txt

# Refusals: not an image, an image of another format, cut short in its header
# and in its pixels, a pixel byte changed.
echo "just text" > text.png
convert txt:rgb4.src.txt jpeg.jpg
head -c 60 rgba5.png > truncated.png
pixels_at=$(grep -obUaP IDAT rgba5.png | head -1 | cut -d: -f1)
head -c $((pixels_at + 20)) rgba5.png > cut.png
cp rgba5.png corrupt.png
printf '\x55' | dd of=corrupt.png bs=1 seek=$((pixels_at + 12)) conv=notrunc status=none
rm -f ./*.src.txt f?.txt
