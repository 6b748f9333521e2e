#!/bin/sh
# Redraws Vornel's artwork (icon, start-up picture, modem speed list, language flags).
#
# The generated files are kept in the repository, so a build never needs this script.
# Needs ImageMagick 6 (convert, identify), the fonts of Debian's fonts-urw-base35, and the
# "MS Sans Serif" replacement that Wine ships (sserife.fon), whose pixels the speed-list
# picture must match to look like a real dialog.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
res=$(dirname "$here")
lang=$(dirname "$res")/lang
convert=${CONVERT:-/usr/bin/convert}
identify=${IDENTIFY:-/usr/bin/identify}
dialog_font=${DIALOG_FONT:-/usr/share/wine/fonts/sserife.fon}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# ---- 256 colours -------------------------------------------------------------------------
# The bitmaps keep palettes of their own, so that a 256-colour display shows them in their
# colours: at most 236 of the picture's own, chosen by the quantiser, and the 20 that
# Windows reserves on such a display (which realising the palette leaves where they are).
# Undithered: the gradients keep steps of one or two levels and the file stays small.
# Written run-length encoded (RLE8) where that is smaller than the plain bitmap.
system_colours='#000000 #800000 #008000 #808000 #000080 #800080 #008080 #c0c0c0 #c0dcc0
    #a6caf0 #fffbf0 #a0a0a4 #808080 #ff0000 #00ff00 #ffff00 #0000ff #ff00ff #00ffff #ffffff'
# shellcheck disable=SC2086 # one xc: image per colour
"$convert" -size 1x1 $(printf 'xc:%s ' $system_colours) +append "$work/system.png"
palette_bitmap() { # picture out.bmp
    "$convert" "$1" -alpha off +dither -colors 236 -unique-colors "$work/own.png"
    "$convert" "$work/system.png" "$work/own.png" +append -unique-colors "$work/palette.png"
    "$convert" "$1" -alpha off -dither None -remap "$work/palette.png" -type Palette \
        -compress RLE "BMP3:$work/rle.bmp"
    "$convert" "$1" -alpha off -dither None -remap "$work/palette.png" -type Palette \
        -compress None "BMP3:$work/plain.bmp"
    if [ "$(wc -c < "$work/rle.bmp")" -lt "$(wc -c < "$work/plain.bmp")" ]; then
        mv "$work/rle.bmp" "$2"
    else
        mv "$work/plain.bmp" "$2"
    fi
}

# ---- The emblem: a globe struck by a lightning bolt -------------------------------------
# Drawn at 256x256 and reduced with a box filter, so every 8x8 block becomes one icon pixel.
"$convert" -size 380x380 radial-gradient:'#b8ecff-#0b2f80' -crop 256x256+112+112 +repage \
    "$work/sea.png"
"$convert" -size 256x256 xc:none -fill '#34a334' \
    -draw "path 'M 56,56 C 84,36 120,38 128,58 C 134,76 108,86 112,106 C 116,126 98,142 92,160
                 C 86,178 66,160 60,138 C 52,116 34,82 56,56 Z'" \
    -draw "path 'M 146,30 C 170,24 196,40 206,58 C 188,66 174,56 160,62 C 148,52 138,40 146,30 Z'" \
    -draw "path 'M 168,140 C 196,132 226,150 222,178 C 214,210 186,226 172,204
                 C 162,186 156,154 168,140 Z'" \
    "$work/land.png"
"$convert" "$work/sea.png" "$work/land.png" -compose over -composite \
    \( -size 256x256 xc:none -fill none -stroke '#ffffff50' -strokewidth 6 \
       -draw "ellipse 128,128 52,114 0,360" -draw "line 128,14 128,242" \
       -draw "ellipse 128,128 114,40 0,360" \) -compose over -composite \
    \( -size 256x256 xc:none -fill '#ffffffb0' -draw "ellipse 84,72 30,18 -35,325" -blur 0x10 \) \
    -compose over -composite \
    \( -size 256x256 xc:black -fill white -draw "circle 128,128 128,12" \) \
    -alpha off -compose CopyOpacity -composite \
    -fill none -stroke '#0a1f55' -strokewidth 10 -draw "circle 128,128 128,13" \
    "$work/globe.png"
"$convert" -size 256x256 xc:none \
    \( -size 256x256 xc:none -fill '#4a2000' \
       -draw "polygon 186,2 70,138 126,138 74,254 214,100 156,100 228,2" \) -compose over -composite \
    \( -size 256x256 gradient:'#fff04a-#ff8400' \
       \( -size 256x256 xc:black -fill white \
          -draw "polygon 190,12 90,128 144,128 96,226 196,110 138,110 210,12" \) \
       -alpha off -compose CopyOpacity -composite \) -compose over -composite \
    "$work/bolt.png"
"$convert" "$work/globe.png" "$work/bolt.png" -compose over -composite "$work/emblem.png"

# ---- Icon 128: 32x32 reduced from the emblem, 16x16 drawn pixel by pixel -----------------
# Both images carry a one-bit mask; the 16x16 one keeps its own 16 colours.
"$convert" "$work/emblem.png" -filter box -resize 32x32 -channel A -threshold 50% +channel \
    "$work/icon32.png"
"$convert" "$here/Vornel16.xpm" "$work/icon16.png"
"$convert" "$work/icon16.png" "$work/icon32.png" -colors 256 "$res/Vornel.ico"

# ---- Bitmap 143: the start-up picture, 420x303 -------------------------------------------
"$convert" -size 420x303 gradient:'#0d2a6e-#040d2e' \
    \( -size 600x600 radial-gradient:'#3d7fe0-#00000000' -crop 420x303+195+170 +repage \
       -channel A -evaluate multiply 0.55 +channel \) -compose over -composite "$work/sky.png"
"$convert" -size 420x303 xc:none -stroke '#8fd3ff' -fill none -strokewidth 2 \
    -draw "path 'M 0,210 C 120,200 260,150 420,138'" -strokewidth 1 \
    -draw "path 'M 0,226 C 130,214 270,162 420,150'" \
    -draw "path 'M 0,196 C 110,188 250,140 420,126'" \
    -blur 0x0.6 -channel A -evaluate multiply 0.45 +channel "$work/streaks.png"
"$convert" "$work/emblem.png" -resize 168x168 \
    \( +clone -background black -shadow 60x6+4+6 \) +swap -background none -layers merge +repage \
    "$work/emblem-shadow.png"
"$convert" -background none -fill white -font AvantGarde-Demi -pointsize 66 label:Vornel \
    "$work/word.png"
"$convert" -size "$("$identify" -format %wx%h "$work/word.png")" gradient:'#ffffff-#9fd6ff' \
    \( "$work/word.png" -alpha extract \) -alpha off -compose CopyOpacity -composite \
    -compose over \( +clone -background '#000818' -shadow 70x3+3+3 \) +swap -background none -layers merge \
    +repage "$work/wordmark.png"
# Wine lays the dialog out with a shorter line than Windows and shows only the top 279 rows,
# so the bottom rows hold nothing but sky.
"$convert" "$work/sky.png" "$work/streaks.png" -compose screen -composite \
    "$work/emblem-shadow.png" -geometry +14+30 -compose over -composite \
    "$work/wordmark.png" -geometry +196+44 -compose over -composite \
    -fill '#ffc93c' -stroke none -draw "rectangle 204,124 404,125" \
    -font Helvetica -pointsize 15 -fill '#d6ecff' -annotate +204+148 'Internet Connection Optimizer' \
    -font Helvetica-Oblique -pointsize 12 -fill '#9fd6ff' \
    -annotate +204+168 'Faster surfing in a few clicks.' \
    -font Helvetica-Bold -pointsize 12 -fill '#ffc93c' -annotate +204+194 'Version 2.0' \
    -font Helvetica -pointsize 11 -fill '#9fb8de' -annotate +204+218 'For Windows 95, 98, Me' \
    -annotate +204+232 'and Windows NT 4.0, 2000, XP' \
    -fill '#3d5f9e' -draw "rectangle 12,246 407,246" \
    -font Helvetica -pointsize 10 -fill '#8ea7cf' \
    -annotate +12+262 'Copyright © 2003 Vornel Software. All rights reserved.' \
    "$work/splash.png"
palette_bitmap "$work/splash.png" "$res/Splash.bmp"

# ---- Bitmap 142: the modem's speed list opened on 921600, 240x135 ------------------------
# Without its words: the modem page writes the group box's caption and the check box's
# label in the chosen language, with the dialog's font, where wizard/ModemPicture.h says.
# ImageMagick's policy forbids reading drawing files, so the commands are passed inline.
"$convert" -size 240x135 xc:'#c0c0c0' -font "$dialog_font" -pointsize 8 -density 96 \
    -draw "$(cat "$here/ModemSpeeds.mvg")" "$work/modem.png"
palette_bitmap "$work/modem.png" "$res/ModemSpeeds.bmp"

# ---- Language flags: 16x16 bitmaps, the flag in the middle on the list's white ----------
# The list shows magenta (#ff00ff) as transparent, so no flag may use it. A flag's few
# colours need no palette of their own for the display (the list keeps its pictures in
# 16 bits): stored with only those colours, in 4 bits, flags are the smallest.
flag() {
    "$convert" -size 16x16 xc:white "$1" -gravity center -composite "$work/flag.png"
    if "$convert" "$work/flag.png" -alpha off -format %c histogram:info:- | grep -qi '#FF00FF'; then
        echo "make-art.sh: $2 uses magenta, the flag list's transparent colour" >&2
        exit 1
    fi
    "$convert" "$work/flag.png" -alpha off -type Palette -compress None "BMP3:$2"
}
flag "$here/English.xpm" "$lang/English.bmp"
"$convert" -size 16x12 xc:black -fill '#dd0000' -draw 'rectangle 0,4 15,7' \
    -fill '#ffce00' -draw 'rectangle 0,8 15,11' "$work/german.png"
flag "$work/german.png" "$lang/German.bmp"
"$convert" -size 16x12 xc:white -fill '#002395' -draw 'rectangle 0,0 4,11' \
    -fill '#ed2939' -draw 'rectangle 11,0 15,11' "$work/french.png"
flag "$work/french.png" "$lang/French.bmp"
"$convert" -size 16x12 xc:'#aa151b' -fill '#f1bf00' -draw 'rectangle 0,3 15,8' "$work/spanish.png"
flag "$work/spanish.png" "$lang/Spanish.bmp"
