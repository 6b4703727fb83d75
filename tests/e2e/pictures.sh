#!/usr/bin/env bash
# The pictures of the batched GL drawer against those of the drawer that makes
# one GL call for every drawing call: scripted scenes of the default world,
# drawn by the game's own frames in a real window under a virtual X server
# (Mesa's software renderer), are the same pixel for pixel. The scenes: the
# start, the HUD, the jetpack's exhaust (many particles), zoomed in, the menu,
# the editor with its palette, cursor box and text, and, in a copy of the world
# with a shaft cut from the start down to the water, the water's surface and
# the world under water.
set -euo pipefail

: "${QUARN_BUILD_DIR:?QUARN_BUILD_DIR names the build folder}"
sim="$QUARN_BUILD_DIR/tools/sim/quarn-sim"
[ -x "$sim" ] || { echo "missing $sim" >&2; exit 1; }
source "$(dirname "$0")/game.bash" pictures cmp
start_xvfb

cp -r "$QUARN_BUILD_DIR/data" "$work/world"
cp -r "$QUARN_BUILD_DIR/data" "$work/shaft"
# tiles of columns 91..93 emptied from the start chamber's floor (row 54) to
# below the water line (row 134): the man falls into the water
perl -e 'open(my $f, "+<", $ARGV[0]) or die; binmode $f;
  for my $x (91..93) { for my $y (54..140) { seek($f, ($x * 256 + $y) * 4, 0); print $f pack("V", 0) } }
  close $f' "$work/shaft/map/phoebus.qnm"

cat >"$work/world.keys" <<'KEYS'
2 1                 # the HUD
30-89 P W           # up and to the right on the jetpack: its exhaust
100-139 KP2         # zoom in
145-184 KP8         # and out again
190 0               # the menu
200 0
210 2               # the editor
220 click 100 100   # a tile from the palette
230 click 500 300   # painted
KEYS
printf '2 1\n' >"$work/shaft.keys"

# scene name, world, frame
scenes="start world 1
hud world 20
exhaust world 85
zoomed world 140
menu world 195
editor world 230
surface shaft 700
underwater shaft 900"

# draw DRAWER WORLD: the pictures of that world's scenes with that drawer
draw() {
  local drawer=$1 world=$2 shots=() last=0 name w frame
  while read -r name w frame; do
    [ "$w" = "$world" ] || continue
    shots+=(--shot "$frame" "$work/$name.$drawer.ppm")
    last=$frame
  done <<<"$scenes"
  local extra=()
  [ "$drawer" = immediate ] && extra=(--immediate)
  (cd "$work/$world" && "$sim" --gl "${extra[@]}" --script "$work/$world.keys" \
    --frames $((last + 1)) "${shots[@]}" >/dev/null 2>"$work/$world.$drawer.err") ||
    fail "quarn-sim --gl $drawer in $world: $(tail -n 3 "$work/$world.$drawer.err")"
}
for world in world shaft; do
  draw batched "$world"
  draw immediate "$world"
done

previous=""
while read -r name _ _; do
  for drawer in batched immediate; do
    [ -s "$work/$name.$drawer.ppm" ] || fail "no picture of $name drawn $drawer"
  done
  cmp -s "$work/$name.batched.ppm" "$work/$name.immediate.ppm" ||
    fail "$name: the batched picture differs from the immediate one"
  # every scene shows something, and something else than the one before
  [ "$(head -c 15 "$work/$name.batched.ppm")" = "$(printf 'P6\n800 600\n255\n')" ] ||
    fail "$name: not an 800 x 600 picture"
  [ "$(tail -c +16 "$work/$name.batched.ppm" | tr -d '\000' | head -c 100000 | wc -c)" -ge 100000 ] ||
    fail "$name: the picture is nearly black"
  [ -z "$previous" ] || ! cmp -s "$work/$name.batched.ppm" "$work/$previous.batched.ppm" ||
    fail "$name looks the same as $previous"
  [ -n "${QUARN_PICTURES:-}" ] && cp "$work/$name.batched.ppm" "$QUARN_PICTURES/$name.ppm"
  previous=$name
done <<<"$scenes"
echo "pictures: $(wc -l <<<"$scenes") scenes, batched and immediate drawing the same pixel for pixel"
