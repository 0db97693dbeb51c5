#!/usr/bin/env bash
# Composes preview pictures of the textures into a folder: the small ones enlarged x6 and the
# large ones x2 on a dark and a light backdrop (small.png, large.png), a mock play screen of
# three octaves with falling notes built from cap + stretched middle + cap, tinted with the
# game's palette (play.png), and a mock menu (menu.png). Needs ImageMagick.
#   tools/textures/preview.sh [texture dir] [output folder]
set -euo pipefail
src=${1:-runtime/Data/Textures}
out=${2:-textures-preview}
mkdir -p "$out"
tmp=$(mktemp -d)
font=$(fc-match -f "%{file}" monospace)
trap 'rm -rf "$tmp"' EXIT

# tint <in> <out> <r> <g> <b>: multiply the colour channels, as the sprite batch does.
tint() {
  convert "$1" -channel R -evaluate multiply "$3" -channel G -evaluate multiply "$4" \
    -channel B -evaluate multiply "$5" +channel "$2"
}
# stretch <in> <out> <w> <h>: bilinear scaling to an exact size.
stretch() { convert "$1" -filter Triangle -resize "$3x$4!" "$2"; }

# 1. Every texture enlarged on dark and light.
sheet() { # sheet <name> <percent> <textures...>
  local name=$1 pct=$2 tiles=() f bg
  shift 2
  for f in "$@"; do
    for bg in '#202020' '#d8d8d8'; do
      convert "$src/$f.png" -filter Point -resize "$pct%" -bordercolor "$bg" -border 12 \
        "$tmp/tile_${f}_${bg#\#}.png"
      tiles+=("$tmp/tile_${f}_${bg#\#}.png")
    done
  done
  montage "${tiles[@]}" -tile 6x -geometry +6+6 -background '#505050' "$out/$name.png"
}
sheet small 600 cursor NoteTop NoteMid NoteBot Pixel BookmarkBar Bookmark FolderIcon MidiIcon \
  TextBackground
sheet large 200 NoteWhite NoteBlack notes2 TrackBox BoxSelect

# 2. Mock play screen: 3 octaves on a 900 x 700 screen.
W=900; H=700; whites=21; kw=$((W / whites)); vs=1.1
kh=$(printf '%.0f' "$(echo "256*$vs" | bc -l)"); top=$((H - kh))
bw=$(printf '%.0f' "$(echo "16*$kw/24" | bc -l)"); bh=$(printf '%.0f' "$(echo "160*$vs" | bc -l)")
stretch "$src/NoteWhite.png" "$tmp/w.png" "$kw" "$kh"
stretch "$src/NoteBlack.png" "$tmp/b.png" "$bw" "$bh"
tint "$tmp/w.png" "$tmp/w_idle.png" 0.95 0.95 0.95
tint "$tmp/w.png" "$tmp/w_green.png" 0.66 0.91 0.42
tint "$tmp/w.png" "$tmp/w_blue.png" 0.58 0.72 0.86
tint "$tmp/b.png" "$tmp/b_idle.png" 0.3 0.3 0.3
tint "$tmp/b.png" "$tmp/b_red.png" 0.90 0.51 0.24
draw=()
# lane lines at every F and C
for ((i = 1; i <= 36 / 7; ++i)); do
  for x in $(((7 * i - 4) * W / whites)) $((7 * i * W / whites)); do
    draw+=(-fill '#404040' -draw "rectangle $x,0 $x,$H")
  done
done
# notes: key index (white), x offset kind, colour, bottom y, height
note() { # note <white index> <black 0/1> <r g b> <bottom> <height>
  local i=$1 black=$2 r=$3 g=$4 b=$5 bottom=$6 h=$7 x w
  if ((black)); then
    x=$(printf '%.0f' "$(echo "($i+0.65)*$W/$whites" | bc -l)")
    w=$(printf '%.0f' "$(echo "$kw*0.66" | bc -l)")
  else
    x=$((i * W / whites)); w=$kw
  fi
  local mid=$((h - 14)); ((mid < 1)) && mid=1
  stretch "$src/NoteTop.png" "$tmp/nt.png" "$w" 7
  stretch "$src/NoteMid.png" "$tmp/nm.png" "$w" "$mid"
  stretch "$src/NoteBot.png" "$tmp/nb.png" "$w" 7
  local n=$tmp/note_${i}_${bottom}
  convert "$tmp/nt.png" "$tmp/nm.png" "$tmp/nb.png" -background none -append "$n.png"
  tint "$n.png" "${n}_t.png" "$r" "$g" "$b"
  draw+=(-draw "image over $x,$((bottom - 14 - mid)) 0,0 '${n}_t.png'")
}
note 0 0 0.66 0.91 0.42 $((top + 40)) 120
note 2 0 0.66 0.91 0.42 $((top - 90)) 60
note 2 0 0.66 0.91 0.42 $((top - 152)) 60
note 4 0 0.58 0.72 0.86 $((top - 20)) 200
note 1 1 0.43 0.64 0.17 $((top - 200)) 90
note 3 1 0.28 0.46 0.67 $((top - 60)) 30
note 7 0 0.93 0.90 0.44 $((top - 300)) 15
note 8 0 0.98 0.48 0.53 $((top - 250)) 160
note 8 1 0.90 0.51 0.24 $((top - 40)) 140
note 11 0 0.76 0.59 0.77 $((top - 10)) 4
note 12 0 0.76 0.59 0.77 $((top - 100)) 300
note 14 1 0.49 0.40 0.51 $((top - 180)) 50
offsets=(0.65 0.65 0 0.65 0.65 0.65 0)
for ((i = 0; i < whites; ++i)); do
  k=w_idle.png; ((i == 0)) && k=w_green.png; ((i == 4)) && k=w_blue.png
  draw+=(-draw "image over $((i * W / whites)),$top 0,0 '$tmp/$k'")
done
for ((i = 0; i < whites; ++i)); do
  o=${offsets[i % 7]}; [[ $o == 0 ]] && continue
  k=b_idle.png; ((i == 8)) && k=b_red.png
  x=$(printf '%.0f' "$(echo "($i+$o)*$W/$whites" | bc -l)")
  draw+=(-draw "image over $x,$((top - 2)) 0,0 '$tmp/$k'")
done
# HUD: progress band, bookmark, cursor
convert "$src/BookmarkBar.png" -filter Triangle -resize "${W}x4!" "$tmp/bar.png"
draw+=(-fill '#ccccd9' -draw "rectangle 0,18 $W,41" -fill '#4040b3' -draw "rectangle 0,20 300,39")
draw+=(-draw "image over 0,$((top - 202)) 0,0 '$tmp/bar.png'" \
       -draw "image over 0,$((top - 198)) 0,0 '$src/Bookmark.png'" \
       -fill '#404040' -pointsize 22 -draw "text 10,$((top - 178)) '3'" \
       -draw "image over 500,300 0,0 '$src/cursor.png'")
convert -size "${W}x$H" xc:black -font "$font" "${draw[@]}" "$out/play.png"

# 3. Mock menu: browser rows with icons, track boxes, option list and buttons.
menu=()
for ((r = 0; r < 5; ++r)); do
  y=$((112 + 48 * r)); v=0.75; ((r % 2)) && v=0.5
  convert "$src/TextBackground.png" -filter Triangle -resize "600x48!" "$tmp/row.png"
  tint "$tmp/row.png" "$tmp/row_$r.png" $v $v $v
  icon=FolderIcon.png; ((r > 2)) && icon=MidiIcon.png
  colour='#cccccc'; ((r == 1)) && colour='#00cc00'
  menu+=(-draw "image over 0,$((y - 8)) 0,0 '$tmp/row_$r.png'" \
         -draw "image over 0,$y 0,0 '$src/$icon'" \
         -fill "$colour" -pointsize 20 -draw "text 40,$((y + 18)) 'Entry number $r'")
done
tint "$src/TrackBox.png" "$tmp/tb1.png" 0.66 0.91 0.42
tint "$src/TrackBox.png" "$tmp/tb2.png" 0.58 0.72 0.86
menu+=(-draw "image over 0,380 0,0 '$tmp/tb1.png'" -fill black -pointsize 20 \
       -draw "text 4,400 'Index: 1'" -draw "text 130,400 'Notes: 1234'" \
       -draw "text 4,464 'Play Type: Right Hand'")
for ((k = 0; k < 5; ++k)); do
  colour='#404040'; ((k == 2)) && colour='#cccc00'
  menu+=(-draw "image over 0,$((532 + 31 * k)) 0,0 '$src/BoxSelect.png'" \
         -fill "$colour" -draw "text 104,$((550 + 31 * k)) 'Option $k'")
done
tint "$src/BoxSelect.png" "$tmp/bs_dim.png" 0.5 0.5 0.5
menu+=(-draw "image over 320,380 0,0 '$src/BoxSelect.png'" -fill '#404040' -pointsize 24 \
       -draw "text 320,400 'Play Right Hand'" \
       -draw "image over 320,440 0,0 '$tmp/bs_dim.png'" -draw "text 320,460 'Song Directories'" \
       -draw "image over 620,420 0,0 '$src/cursor.png'")
convert -size "${W}x700" xc:black -font "$font" "${menu[@]}" "$out/menu.png"

echo "preview: $out/{small,large,play,menu}.png"
