#!/bin/bash
# Makes the image files the Windows file tests read, with ImageMagick (an
# encoder other than WIC), and ImageMagick's own view of each as <name>.txt,
# its pixel enumeration (one per GIF frame, composed as the disposal says).
#   make_inputs.sh <folder>
set -euo pipefail
mkdir -p "$1"
cd "$1"

# Pixels from rows of one-letter colours ('.' and ',' clear).
pixels() {
  echo "# ImageMagick pixel enumeration: $1,$2,255,srgba"
  local y=0
  for row in $3; do
    for ((x = 0; x < $1; x++)); do
      case ${row:x:1} in
        r) c=255,0,0,255 ;; g) c=0,255,0,255 ;; b) c=0,0,255,255 ;; y) c=255,255,0,255 ;;
        w) c=255,255,255,255 ;; k) c=0,0,0,255 ;; h) c=0,128,255,128 ;;
        .) c=0,0,0,0 ;; ,) c=255,255,255,0 ;;
      esac
      echo "$x,$y: ($c)"
    done
    y=$((y + 1))
  done
}
ramp() {  # 20 colours
  echo "# ImageMagick pixel enumeration: 5,4,255,srgb"
  for ((i = 0; i < 20; i++)); do echo "$((i % 5)),$((i / 5)): ($((i % 5 * 50)),$((i / 5 * 60)),100)"; done
}

pixels 6 4 ".rrg,. rbhg.. ,wwk.r kkkkk." > rgba5.in.txt
convert txt:rgba5.in.txt -define png:color-type=6 rgba5.png
convert txt:rgba5.in.txt -define bmp:format=bmp4 BMP:bgra5.bmp
pixels 3 2 "rgb ybw" > rgb4.in.txt
convert txt:rgb4.in.txt -type TrueColor BMP3:rgb4.bmp
ramp > rle8.in.txt
convert txt:rle8.in.txt -type Palette -compress RLE BMP3:rle8.bmp
pixels 5 3 "r.gbb .rrg, yy.wk" > palette8.in.txt
convert txt:palette8.in.txt PNG8:palette8.png
for name in rgb4.bmp rle8.bmp palette8.png; do convert "$name" "${name%.*}.txt"; done

# Four frames with offsets, transparency and each disposal, own colour tables.
pixels 6 4 "rrrrrr rbrrrr rrrrgr rrrrrr" > f1.in.txt
pixels 2 2 "bb bb" > f2.in.txt
pixels 3 1 "y.y" > f3.in.txt
pixels 2 2 "w. .w" > f4.in.txt
convert -dispose none -page 6x4+0+0 txt:f1.in.txt -dispose background -page 6x4+1+1 txt:f2.in.txt \
  -dispose previous -page 6x4+2+2 txt:f3.in.txt -dispose none -page 6x4+3+0 txt:f4.in.txt frames.gif
convert frames.gif -coalesce frames-%d.txt

# Refusals: 300 colours; text; another format; cut in the header, cut in the
# pixels, a changed pixel byte; a GIF screen 40000 pixels wide.
{
  echo "# ImageMagick pixel enumeration: 20,15,255,srgb"
  for ((i = 0; i < 300; i++)); do echo "$((i % 20)),$((i / 20)): ($((i % 20 * 10)),$((i / 20 * 10)),7)"; done
} > colours300.in.txt
convert txt:colours300.in.txt -define png:color-type=2 colours300.png
echo "just text" > text.png
convert txt:rgb4.in.txt jpeg.jpg
head -c 60 rgba5.png > truncated.png
at=$(grep -obUaP IDAT rgba5.png | head -1 | cut -d: -f1)
head -c $((at + 20)) rgba5.png > cut.png
cp rgba5.png corrupt.png
printf '\x55' | dd of=corrupt.png bs=1 seek=$((at + 12)) conv=notrunc status=none
cp frames.gif wide.gif
printf '\x40\x9c' | dd of=wide.gif bs=1 seek=6 conv=notrunc status=none
rm -f ./*.in.txt
