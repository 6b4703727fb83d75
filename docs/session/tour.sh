#!/usr/bin/env bash
# A played session of the real game in the default world, under a virtual X
# server, driven by xdotool, for more than five minutes: walk east through
# the armoury with N held (every weapon taken, nothing else), the HUD with
# what the hand holds, fire, walk the east road to the updraft shaft, dive
# into the water at its foot and ride the updraft up by its west wall, go in
# at the shaft's upper east door to the gargoyle hall and back, ride up by
# its east wall onto the gallery and take the booster, teleport back to the
# start and go west into the trap room and out again, the window key and
# full screen again, the menu, then the editor (pick a tile, paint, save,
# pick the ground's tile up, pan, paint once more, reload) and Escape. Screenshots go beside this script; the console to console.txt
# beside them. The game records the session into tour.dem beside them, and
# the script replays it headless at the end: both lines go to the log.
#
# The route is steered by the game's own position key (A prints the tile
# under the view's middle, where the man is), so it holds when the frame
# rate varies.
#
# usage: docs/session/tour.sh BUILD_DIR
# The editor save rewrites BUILD_DIR/data/map/phoebus.qnm; the script puts the
# generated map back when it ends.
set -uo pipefail
build=$(realpath "$1")
out=$(dirname "$(realpath "$0")")
data=$build/data
console=$out/console.txt
export ASAN_OPTIONS=detect_leaks=0

[ -f "$data/map/phoebus.qnm" ] || { echo "no default world in $data" >&2; exit 1; }
work=$(mktemp -d /tmp/quarn-tour-XXXXXX)
cp "$data/map/phoebus.qnm" "$work/map.qnm"

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
game=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  cp "$work/map.qnm" "$data/map/phoebus.qnm" && rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$work/display")"

started=$(date +%s)
demo=$(realpath --relative-to="$data" "$out/tour.dem")
(cd "$data" && exec ../quarn --record "$demo") >"$console" 2>&1 &
game=$!
sleep 4

say() { echo "[$(($(date +%s) - started))s] $*"; }
shot() { import -window root "$out/$1.png"; say "shot $1"; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
geometry() { xdotool search --name QuarnGLX getwindowgeometry | tr -d '\n' | sed 's/.*Position: \([0-9,-]*\).*Geometry: \([0-9x]*\).*/\1 \2/'; }
# PX PY: the tile the view's middle is on, from the A key's console line
pos() {
  xdotool keydown a; sleep 0.05; xdotool keyup a; sleep 0.15
  read -r PX PY < <(grep -ao 'X: -\?[0-9]* Y: -\?[0-9]*' "$console" | tail -n 1 | awk '{print $2, $4}')
}
# holds KEY (and the extra keys) until the test on PX, PY holds
walk_until() {   # key test seconds [extra keys...]
  local key=$1 test=$2 limit=$3; shift 3
  local t=0
  for k in "$@"; do xdotool keydown "$k"; done
  [ "$key" = - ] || xdotool keydown "$key"
  while pos; ! eval "$test"; do
    sleep 0.1; t=$((t + 1)); [ $t -gt $((limit * 4)) ] && { say "gave up: $test at $PX,$PY"; break; }
  done
  [ "$key" = - ] || xdotool keyup "$key"
  for k in "$@"; do xdotool keyup "$k"; done
  say "at $PX,$PY"
}
# a pick-up of equipment plays the fanfare; with no sound device that is the
# console's "sound 1 not found in cache"
fanfares() { grep -ao 'sound 1 not found' "$console" | wc -l; }

# ---- the armoury ----------------------------------------------------------------
shot 01-start
sleep 1                                        # he lands on the floor
xdotool keydown n keydown w
t=0
while [ "$(fanfares)" -lt 5 ] && [ $t -lt 400 ]; do sleep 0.05; t=$((t + 1)); done
xdotool keyup w keyup n
say "$(fanfares) pick-ups"
shot 02-armoury
xdotool key 1                                  # the HUD: five energies, score 500, an empty hand
sleep 0.5
shot 03-hud
hold F1 0.2                                    # the pistol in the hand
xdotool keydown Return; sleep 0.6; shot 04-pistol; sleep 0.6; xdotool keyup Return

# ---- the east road and the shaft ---------------------------------------------------
walk_until w '[ "$PX" -ge 122 ]' 40
shot 05-east-road
walk_until w '[ "$PX" -ge 146 ]' 40            # to the foot of the ledge before the shaft
walk_until p '[ "$PY" -le 50 ]' 10             # up the ledge
walk_until w '[ "$PX" -ge 154 ]' 10            # through the door into the shaft
shot 06-the-shaft
walk_until l '[ "$PY" -ge 137 ]' 40            # down against the updraft into the water
sleep 0.5
shot 07-under-water
walk_until - '[ "$PY" -le 96 ]' 40             # no key: the water and the updraft lift him
hold q 0.3                                     # to the west wall, where it has no door
hold w 0.1                                     # up to row 75, with a touch back
walk_until - '[ "$PY" -le 82 ]' 20             # the updraft lifts him there too
shot 08-up-by-the-west-wall

# ---- the gargoyle hall, by the shaft's upper east door --------------------------------
walk_until l '[ "$PY" -ge 84 ]' 20             # down again below the upper east door,
walk_until w '[ "$PX" -ge 160 ]' 30            # then W held: up by the east wall and in at the door
walk_until w '[ "$PX" -ge 174 ]' 40            # along the level passage
shot 09-gargoyle-hall
walk_until q '[ "$PX" -le 154 ]' 40            # back west into the shaft,
hold w 0.12                                    # a touch east so as not to drift into a west door
walk_until - '[ "$PY" -le 66 ]' 40             # and the updraft lifts him
hold w 0.2                                     # to the east wall, above its doors:
walk_until - '[ "$PY" -le 39 ]' 40             # the updraft lifts him there too
shot 10-up-by-the-east-wall
walk_until q '[ "$PX" -le 151 ]' 10 p          # held up under the roof, off over the gallery
sleep 1.5                                      # and down onto its floor
shot 11-the-gallery
walk_until q '[ "$PX" -le 146 ]' 10            # past the booster,
sleep 1
walk_until w '[ "$PX" -ge 151 ]' 10 n          # and back over it with N: it goes into the hand
sleep 0.5
shot 12-the-booster-in-hand

# ---- west of the start, the trap room and out -----------------------------------------
xdotool key t                                  # the teleport: nothing remembered, so to the start
sleep 1.5
pos; say "teleported to $PX,$PY"
shot 13-teleported-to-the-start
walk_until q '[ "$PX" -le 78 ]' 40             # off the road's west end: down into the trap room
sleep 2
shot 14-trap-room
walk_until p '[ "$PY" -le 52 ]' 20             # out: up with the jetpack
walk_until w '[ "$PX" -ge 81 ]' 10 p
walk_until w '[ "$PX" -ge 90 ]' 20
shot 15-back-at-the-start

# ---- the window key, then full screen again -------------------------------------------
xdotool key F10; sleep 1
say "window after F10: $(geometry)"
shot 16-window
xdotool key F9; sleep 1
say "window after F9: $(geometry)"
shot 17-full-screen-again

# ---- the menu ---------------------------------------------------------------------
xdotool key 0; sleep 1; shot 18-menu; sleep 1; xdotool key 0; sleep 0.5

# ---- the editor -------------------------------------------------------------------
# At the default zoom a palette cell is about 19 pixels square and a map cell
# about 76: the clicks aim at the middles of the cells drawn there.
xdotool key 2; sleep 1
shot 19-editor
xdotool mousemove 67 48 click 1                # palette cell (3, 2): tile 35
sleep 0.5
hold 4 0.2                                     # mirrored left to right
for x in 430 506 582 658 734; do xdotool mousemove "$x" 300 click 1; sleep 0.3; done
shot 20-painted
xdotool key 8                                  # save
sleep 0.5
xdotool mousemove 700 470 click 3              # the ground's tile picked up (right click)
sleep 0.3
xdotool key Right Right                        # the view two tiles right
sleep 0.5
xdotool mousemove 600 110 click 1              # one more tile, in the sky, not saved
sleep 0.5
shot 21-unsaved-tile
xdotool key 7                                  # reload: the unsaved tile goes
sleep 0.5
shot 22-reloaded
xdotool key 2; sleep 0.5

# ---- to five minutes and a bit, then Escape ---------------------------------------
while [ $(($(date +%s) - started)) -lt 305 ]; do sleep 1; done
say "Escape"
xdotool key Escape
wait "$game"
status=$?
game=""
say "the game ended with status $status"
say "$(tail -n 1 "$console")"
say "replayed: $(cd "$data" && ../tools/sim/quarn-sim --play "$demo" 2>/dev/null | tail -n 1)"
exit $status
