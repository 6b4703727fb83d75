#!/usr/bin/env bash
# The map editor of the real game under a virtual X server, in a small data
# folder: a floor of tile 5 from row 55 down, tile 5 drawn inside a black frame
# so its cells show on the screen, tile 37 red, every other tile grey. Found
# in screenshots: a click on the middle of the red palette cell selects tile
# 37; clicks on the middle of floor cells, at the default zoom and fully zoomed
# in, paint red exactly under the pointer. Editor keys tapped while the editor
# is off never act later. A save changes exactly the painted cells; Escape
# keeps painting never saved beside the map and leaves the map as saved.
set -euo pipefail
source "$(dirname "$0")/game.bash" editor
command -v convert-im6.q16 >/dev/null || { echo "missing tool: convert-im6.q16" >&2; exit 1; }

data="$work/data"
mkdir -p "$data/map" "$data/gfx"
perl -e 'for $x (0..255) { for $y (0..255) { print pack("V", $y >= 55 ? 5 : 0) } }' >"$work/map.qnm"
cp "$work/map.qnm" "$data/map/phoebus.qnm"
# the colour file holds the image's bottom row first; tile n is the 64 x 64
# cell in column n % 16 and row n / 16 from the top
perl -e 'for $row (0..1023) { my $iy = 1023 - $row; my $py = $iy % 64;
  for $ix (0..1023) { my $n = int($iy / 64) * 16 + int($ix / 64); my $px = $ix % 64;
    print $n == 37 ? "\xff\0\0" : $n != 5 ? "\x60\x60\x60" :
      ($px < 3 || $px > 60 || $py < 3 || $py > 60) ? "\0\0\0" : "\xc0\x80\x40" } }' >"$data/gfx/tiles.raw"
perl -e 'print "\xff" x (1024 * 1024)' >"$data/gfx/m_tiles.raw"
printf 'classes\nman 16,32,1,1,100,-1,0,1,32,32,1,0,0,0,0,0\n' >"$data/map/phoebus.ent"

shots=${QUARN_SHOT_DIR:-$work}
n=0
shot() { n=$((n + 1)); shot="$shots/editor-$n-$1.png"; sleep 0.4; import -window root "$shot" || fail "no screenshot"; }
# the pixels of the last screenshot in a rectangle, one "x y r g b" a line
pixels() {   # x y w h
  convert-im6.q16 "$shot" -crop "$3x$4+$1+$2" +repage -depth 8 txt:- |
    awk -v x0="$1" -v y0="$2" '!/^#/ { split($0, a, /[,:() ]+/); print x0 + a[1], y0 + a[2], a[3], a[4], a[5] }'
}
red() { awk '$3 > 150 && $4 < 60 && $5 < 60'; }
is_red() { [ -n "$(pixels "$1" "$2" 1 1 | red)" ]; }
# the middle of the first whole lit run (between dark pixels, 20 or more
# long: not the cursor's outline) along a line
middle() {   # along: 1 for a row, 2 for a column
  awk -v k="$1" '{ lit = $3 > 24 || $4 > 24 || $5 > 24 } done { next }
    lit && dark && !from { from = $k }
    !lit && from { if ($k - from >= 20) { print int((from + $k - 1) / 2); done = 1 } from = 0 }
    !lit { dark = 1 }'
}
# clicks the middle of a floor cell: the first whole one along row Y from x X
click_floor() {   # Y X
  local x y
  x=$(pixels "$2" "$1" $((800 - $2)) 1 | middle 1)
  [ -n "$x" ] || fail "no whole floor cell along row $1"
  y=$(pixels "$x" $(($1 - 200)) 1 $((600 - $1 + 200)) | middle 2)
  [ -n "$y" ] || fail "no whole floor cell along column $x"
  ! is_red "$x" "$y" || fail "($x, $y) is red before the click"
  xdotool mousemove "$x" "$y" click 1
  shot "painted-at-$x-$y"
  is_red "$x" "$y" || fail "the cell under ($x, $y) was not painted red"
}
# the map cells two map files differ in, "x,y=word" a line
changed() {
  perl -e 'local $/; open A, $ARGV[0] or die; open B, $ARGV[1] or die; my @a = unpack "V*", <A>; my @b = unpack "V*", <B>;
    for $k (0..65535) { print int($k / 256), ",", $k % 256, "=", $b[$k], "\n" if $a[$k] != $b[$k] }' "$@"
}
saved_cells() {   # how many cells the file has painted with tile 37, and no others
  local cells
  cells=$(changed "$work/map.qnm" "$1")
  [ -z "$(grep -v '=37$' <<<"$cells")" ] || fail "$1 changed cells to other words: $cells"
  grep -c . <<<"$cells" || true
}

start_xvfb
start_game "$data"
xdotool key 2
shot editor-on
box=$(pixels 0 0 400 400 | red | awk 'NR == 1 { l = r = $1; t = b = $2 }
  { if ($1 < l) l = $1; if ($1 > r) r = $1; if ($2 < t) t = $2; if ($2 > b) b = $2 }
  END { if (NR) print int((l + r) / 2), int((t + b) / 2) }')
[ -n "$box" ] || fail "the red tile is not on the palette"
read -r px py <<<"$box"
xdotool mousemove "$px" "$py" click 1
click_floor 490 420

# keys tapped with the editor off: no reload, no save, then or later
xdotool key 2 7 8
sleep 0.3
xdotool key 2
sleep 0.5
[ "$(count 'map map\phoebus.qnm loaded')" -eq 1 ] || fail "7 tapped with the editor off reloaded the map"
[ "$(count "map saved")" -eq 0 ] || fail "8 tapped with the editor off saved the map"
xdotool key 8
sleep 0.3
[ "$(saved_cells "$data/map/phoebus.qnm")" -eq 1 ] || fail "the first save holds the wrong cells"

# fully zoomed in, the view panned one tile down: the floor's top row shows whole
xdotool keydown KP_Down
for _ in $(seq 1 50); do [ "$(count "zoom in")" -ge 40 ] && break; sleep 0.1; done
xdotool keyup KP_Down
xdotool key Down
shot zoomed-in
click_floor 380 560
xdotool key 8
sleep 0.3
[ "$(saved_cells "$data/map/phoebus.qnm")" -eq 2 ] || fail "the second save holds the wrong cells"
cp "$data/map/phoebus.qnm" "$work/saved.qnm"
click_floor 380 330
xdotool key Escape
wait_exit Escape
[ "$(count 'unsaved painting saved to map\phoebus.qnm.unsaved')" -eq 1 ] || fail "no line for the unsaved painting"
cmp -s "$data/map/phoebus.qnm" "$work/saved.qnm" || fail "the map file changed at quit"
[ "$(saved_cells "$data/map/phoebus.qnm.unsaved")" -eq 3 ] || fail "the unsaved painting is not all kept"
echo "editor: palette and map clicks land under the pointer at zoom 256 and 128; no stale keys; saves keep exactly the painted cells"
