#!/bin/bash
# Draws the Web Graphics pictures: eight icons and 27 tileable backgrounds (.gif and .bmp).
set -euo pipefail
OUT="$1"
ICONS="$OUT/Icons"; BG="$OUT/Backgrounds"
mkdir -p "$ICONS" "$BG"
T=/tmp/webgfx.$$; mkdir -p $T
S=64
FONT=DejaVu-Sans-Bold

gif() { convert "$1" -strip +dither -colors "${3:-32}" "$2"; }

# ---- icons ----
convert -size 15x13 xc:none -fill '#f2c94c' -stroke '#8a6d1f' -strokewidth 1 \
  -draw "polygon 0,2 5,2 6,3 14,3 14,12 0,12" -fill '#f7dc7c' -draw "rectangle 1,5 13,11" \
  $T/folder.png
convert -size 16x16 xc:none -fill '#9aa5b1' -stroke '#3d4852' -draw "rectangle 2,1 13,15" \
  -stroke none -fill '#fff6a8' \
  -draw "rectangle 4,3 5,4" -draw "rectangle 7,3 8,4" -draw "rectangle 10,3 11,4" \
  -draw "rectangle 4,6 5,7" -draw "rectangle 7,6 8,7" -draw "rectangle 10,6 11,7" \
  -draw "rectangle 4,9 5,10" -draw "rectangle 10,9 11,10" \
  -fill '#5b3a1a' -draw "rectangle 7,11 8,15" $T/org.png
person() { # x offset, colour
  echo "-fill $2 -stroke #333333 -draw \"circle $(($1+4)),4 $(($1+4)),1\" -draw \"ellipse $(($1+4)),14 4,5 180,360\""
}
convert -size 16x16 xc:none -fill '#f1c27d' -stroke '#6b4a2b' -draw "circle 8,4 8,1" \
  -fill '#3b6fb6' -stroke '#1f3c66' -draw "ellipse 8,15 6,7 180,360" $T/person.png
convert -size 16x16 xc:none \
  -fill '#f1c27d' -stroke '#6b4a2b' -draw "circle 4,5 4,3" -draw "circle 11,5 11,3" \
  -fill '#4f9a5a' -stroke '#2a5a31' -draw "ellipse 4,15 4,6 180,360" \
  -fill '#c0504d' -stroke '#6e2a28' -draw "ellipse 11,15 4,6 180,360" \
  -fill '#f1c27d' -stroke '#6b4a2b' -draw "circle 8,7 8,5" \
  -fill '#3b6fb6' -stroke '#1f3c66' -draw "ellipse 8,16 4,5 180,360" $T/team.png
convert -size 16x16 xc:none -fill '#4a90d9' -stroke '#1d4f86' -draw "circle 7.5,7.5 7.5,0.5" \
  -fill none -stroke '#d6ecff' -draw "ellipse 7.5,7.5 3,7 0,360" -draw "line 1,7.5 14,7.5" \
  -draw "line 2,4 13,4" -draw "line 2,11 13,11" $T/web.png
convert -size 16x16 xc:none -fill white -stroke '#555555' -draw "roundrectangle 0,2 15,13 1,1" \
  -stroke none -fill '#c0504d' -draw "circle 4,6 4,4" -draw "rectangle 2,8 6,11" \
  -fill '#777777' -draw "rectangle 8,5 13,5" -draw "rectangle 8,8 13,8" -draw "rectangle 8,11 12,11" \
  $T/vcard.png
convert -size 16x16 xc:none -fill '#1f3c66' -draw "roundrectangle 0,0 15,15 3,3" \
  -fill white -stroke white -strokewidth 1 -draw "polygon 12,2 13,3 6,11 4,12 5,10" \
  -stroke '#f2c94c' -draw "line 3,13 12,13" $T/nrb_16.png
convert -size 120x40 gradient:'#3b6fb6'-'#1f3c66' -fill none -stroke '#0f2038' \
  -draw "roundrectangle 0,0 119,39 6,6" \
  -fill white -stroke white -draw "polygon 26,6 29,9 14,30 10,33 12,28" -stroke none \
  -font $FONT -pointsize 15 -fill white -annotate +36+25 'Quillmere' \
  -font DejaVu-Sans -pointsize 8 -fill '#d6ecff' -annotate +37+35 'contact manager' $T/quilbtn.png
for i in folder org person team web vcard nrb_16 quilbtn; do
  gif $T/$i.png "$ICONS/$i.gif" 32
done

# ---- backgrounds ----
# Seamless noise: random pixels blurred with wrap-around edges.
noise() { # seed blur [extra...]
  local seed=$1 blur=$2; shift 2
  convert -size ${S}x${S} xc:gray50 -seed $seed +noise Random -colorspace gray \
    -virtual-pixel tile -blur 0x$blur -auto-level "$@"
}
colour() { +level-colors "$1","$2"; }
mk() { # name, png
  gif "$2" "$BG/$1.gif" 32
  convert "$2" -strip +dither -colors 16 -type Palette BMP3:"$BG/$1.bmp"
}

noise 11 6 +level-colors '#e9d8c4','#f7efe5' $T/b.png
convert pattern:circles -negate -scale 200% -write mpr:t +delete -size ${S}x${S} tile:mpr:t \
  -fill '#c98f6d' -opaque white -transparent black $T/ring.png
convert $T/b.png $T/ring.png -compose over -composite $T/beads.png
mk beads $T/beads.png
noise 12 1 -virtual-pixel tile -motion-blur 0x6+20 -auto-level +level-colors '#3c4a44','#5d6d66' $T/chalk.png
mk chalk $T/chalk.png
noise 13 8 +level-colors '#7fb2e5','#ffffff' $T/c.png; mk cloud1 $T/c.png
noise 14 5 +level-colors '#9aa7b4','#eef2f6' $T/c.png; mk cloud2 $T/c.png
noise 15 10 +level-colors '#e8b6c8','#fff5f8' $T/c.png; mk cloud3 $T/c.png
noise 16 7 +level-colors '#f2d38c','#fffaf0' $T/c.png; mk cloud4 $T/c.png
noise 17 0.7 +level-colors '#a7a49d','#d3d0c8' $T/c.png; mk concrete $T/c.png
noise 18 4 -virtual-pixel tile -motion-blur 0x8+270 -auto-level +level-colors '#7a0d00','#ffd34d' $T/c.png
mk fire $T/c.png
convert pattern:checkerboard -crop 16x16+0+0 +repage -scale 200% \
  -write mpr:t +delete -size ${S}x${S} tile:mpr:t +level-colors '#b9a88f','#efe6d6' \
  -fill none -stroke '#8a7b66' -draw "line 0,0 63,0" -draw "line 0,32 63,32" \
  -draw "line 0,0 0,63" -draw "line 32,0 32,63" $T/c.png
mk floortile $T/c.png
convert -size ${S}x${S} xc:'#fbf3f6' -fill '#e79bb5' \
  -draw "circle 16,16 16,12" -draw "circle 12,16 12,13" -draw "circle 20,16 20,13" \
  -draw "circle 16,12 16,9" -draw "circle 16,20 16,17" -fill '#f2c94c' -draw "circle 16,16 16,14" \
  -fill '#a6c8e6' -draw "circle 48,48 48,44" -draw "circle 44,48 44,45" -draw "circle 52,48 52,45" \
  -draw "circle 48,44 48,41" -draw "circle 48,52 48,49" -fill '#f2c94c' -draw "circle 48,48 48,46" \
  -fill '#9cc79a' -draw "ellipse 32,40 2,5 0,360" -draw "ellipse 0,24 2,5 0,360" $T/c.png
mk flower $T/c.png
noise 19 2 -threshold 55% -virtual-pixel tile -morphology EdgeOut Disk:1 -blur 0x0.6 \
  +level-colors '#eaf6fb','#8fc7de' $T/c.png
mk foam $T/c.png
convert -size ${S}x${S} xc:'#fdfdf6' -stroke '#c5d9ec' \
  -draw "line 0,0 63,0" -draw "line 0,16 63,16" -draw "line 0,32 63,32" -draw "line 0,48 63,48" \
  -draw "line 0,0 0,63" -draw "line 16,0 16,63" -draw "line 32,0 32,63" -draw "line 48,0 48,63" $T/c.png
mk grid $T/c.png
convert pattern:octagons -scale 200% -write mpr:t +delete -size ${S}x${S} tile:mpr:t \
  +level-colors '#e7dcc5','#fffaf0' $T/c.png
mk lace $T/c.png
convert -size ${S}x${S} xc:'#f6f1e3' -font DejaVu-Serif -pointsize 14 -fill '#ddd2b8' \
  -annotate +3+14 'A' -annotate +35+14 'q' -annotate +19+30 'm' -annotate +51+30 'R' \
  -annotate +3+46 'e' -annotate +35+46 'G' -annotate +19+62 'k' -annotate +51+62 's' $T/c.png
mk letters $T/c.png
noise 20 5 -function Sinusoid 3,0 +level-colors '#8c8578','#f4f1ea' $T/c.png
mk marble $T/c.png
convert -size ${S}x${S} xc:gray50 -seed 21 +noise Random -colorspace gray -threshold 97% \
  -virtual-pixel tile -blur 0x0.5 -auto-level +level-colors '#0b1533','#ffffff' $T/c.png
mk nova $T/c.png
noise 22 0.6 +level-colors '#d8be8c','#f2e2bd' $T/c.png; mk sand $T/c.png
noise 23 2 -virtual-pixel tile -motion-blur 0x12+35 -auto-level +level-colors '#cfd8e8','#f5f7fb' $T/c.png
mk smear1 $T/c.png
noise 24 2 -virtual-pixel tile -motion-blur 0x12+125 -auto-level +level-colors '#d9e8cf','#f7fbf3' $T/c.png
mk smear2 $T/c.png
noise 25 1.5 +level-colors '#3f2a17','#7a5a3a' $T/c.png; mk soil $T/c.png
convert -size ${S}x${S} xc:gray50 -seed 26 +noise Random -colorspace gray -threshold 92% \
  +level-colors '#f7f4ec','#8d8778' $T/c.png
mk speckle $T/c.png
noise 27 3 -virtual-pixel tile -shade 120x45 -auto-level +level-colors '#6f6a63','#d0cbc2' $T/c.png
mk stone $T/c.png
noise 28 6 +level-colors '#4e7a3a','#c9d99a' $T/c.png; mk terrain1 $T/c.png
noise 29 4 -virtual-pixel tile -shade 135x50 -auto-level +level-colors '#7a5a32','#e2c68f' $T/c.png
mk terrain2 $T/c.png
noise 30 9 -function Sinusoid 5,0 +level-colors '#2f6b5e','#d8e6b5' $T/c.png
mk terrain3 $T/c.png
convert pattern:left30 -scale 400% -write mpr:t +delete -size ${S}x${S} tile:mpr:t \
  +level-colors '#5c8f4a','#eef6e6' -blur 0x0.5 $T/c.png
mk vines $T/c.png
convert -size 16x16 gradient:'#c8a878'-'#8a6a3e' -write mpr:h +delete \
  -size 16x16 gradient:'#c8a878'-'#8a6a3e' -rotate 90 -write mpr:v +delete \
  \( mpr:h mpr:v +append \) \( mpr:v mpr:h +append \) -append \
  -write mpr:t +delete -size ${S}x${S} tile:mpr:t $T/c.png
mk weave $T/c.png

rm -rf $T
