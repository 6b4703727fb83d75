#!/usr/bin/env bash
# A played session of the real game in the default world, under a virtual X
# server, driven by xdotool: pick up the weapons on the start chamber's floor,
# select them, fire at the grotto's creatures, walk the east road to the
# updraft shaft, ride it up and fly down it into the water, the menu, then the
# editor (pick a tile, paint, save, pick the ground's tile up, pan, paint once
# more, reload) and Escape.
# Screenshots go beside this script; the console to console.txt beside them.
#
# The route is steered by the game's own position key (A prints the tile under
# the view's middle), so it holds when the frame rate varies.
#
# usage: docs/session/tour.sh BUILD_DIR [DISPLAY_NUMBER]
# The editor save rewrites BUILD_DIR/data/map/phoebus.qnm; the script puts the
# generated map back when it ends.
set -uo pipefail
build=$(realpath "$1")
disp=:${2:-71}
out=$(dirname "$(realpath "$0")")
data=$build/data
console=$out/console.txt
export DISPLAY=$disp ASAN_OPTIONS=detect_leaks=0

[ -f "$data/map/phoebus.qnm" ] || { echo "no default world in $data" >&2; exit 1; }
backup=$(mktemp /tmp/quarn-tour-map-XXXXXX)
cp "$data/map/phoebus.qnm" "$backup"

Xvfb "$disp" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
game=""
cleanup() {
  [ -n "$game" ] && kill "$game" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  cp "$backup" "$data/map/phoebus.qnm" && rm -f "$backup"
}
trap cleanup EXIT
sleep 2

started=$(date +%s)
(cd "$data" && exec ../quarn) >"$console" 2>&1 &
game=$!
sleep 4

say() { echo "[$(($(date +%s) - started))s] $*"; }
shot() { import -window root "$out/$1.png"; say "shot $1"; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
# PX PY: the tile the view's middle is on, from the A key's console line
pos() {
  xdotool keydown a; sleep 0.05; xdotool keyup a; sleep 0.15
  read -r PX PY < <(grep -ao 'X: -\?[0-9]* Y: -\?[0-9]*' "$console" | tail -n 1 | awk '{print $2, $4}')
}
# walks (or drifts) with KEY held, plus extra keys, until the test on PX holds
walk_until() {   # key test seconds [extra keys...]
  local key=$1 test=$2 limit=$3; shift 3
  local t=0
  for k in "$@"; do xdotool keydown "$k"; done
  xdotool keydown "$key"
  while pos; ! eval "$test"; do
    sleep 0.1; t=$((t + 1)); [ $t -gt $((limit * 4)) ] && { say "gave up: $test at $PX,$PY"; break; }
  done
  xdotool keyup "$key"
  for k in "$@"; do xdotool keyup "$k"; done
  say "at $PX,$PY"
}
# ---- the armoury ----------------------------------------------------------------
# A pick-up plays the fanfare; with no sound device that is the console's
# "sound 1 not found in cache". Walking stops at the right count, before the
# grenades at either end of the row, which would fill the hand.
fanfares() { grep -ao 'sound 1 not found' "$console" | wc -l; }
walk_until_fanfares() {   # key count seconds
  local t=0
  xdotool keydown n keydown "$1"
  while [ "$(fanfares)" -lt "$2" ] && [ $t -lt $(($3 * 20)) ]; do sleep 0.05; t=$((t + 1)); done
  xdotool keyup "$1" keyup n
  say "$(fanfares) pick-ups"
}
shot 01-start
walk_until_fanfares q 2 10                     # the pistol and the icer, to the left
hold m 0.2                                     # a grenade taken by overshooting would
shot 02-armoury-left                           # fill the hand: drop it
walk_until_fanfares w 5 20                     # the blaster, the plasma gun, the suit
shot 03-armoury-right
xdotool key 1                                  # the HUD
sleep 0.5
shot 04-hud

# ---- firing at the grotto's creatures -------------------------------------------
# walks east until PX reaches the column; whenever the man makes no headway
# (something pushed ahead of him in the way, the ledge before the shaft's
# door) he backs off a little and the jetpack lifts him over it
walk_east() {   # until PX reaches the column
  local t=0 last=0 still=0
  xdotool keydown w
  while pos; [ "$PX" -lt "$1" ]; do
    if [ "$PX" -le "$last" ]; then still=$((still + 1)); else still=0; fi
    last=$PX
    if [ $still -ge 8 ]; then          # off the wall (pressing into it holds him down), up, over
      xdotool keyup w; hold q 0.2; hold p 1.0; xdotool keydown w keydown p; sleep 0.5; xdotool keyup p; still=0
    fi
    sleep 0.1; t=$((t + 1)); [ $t -gt 150 ] && { say "gave up on the road at $PX,$PY"; break; }
  done
  xdotool keyup w
  say "at $PX,$PY"
}
walk_east 104                                  # to the grotto's west end
hold w 0.05                                    # face right
for k in F2 F3 F4; do hold "$k" 0.2; hold Return 0.3; done
hold F1 0.2                                    # the pistol, at the grotto's fluffy
xdotool keydown Return; sleep 0.8; shot 05-pistol; sleep 1.2; xdotool keyup Return
hold F6 0.2                                    # armed grenades
xdotool keydown Return; sleep 1.0; shot 06-grenades; sleep 1.0; xdotool keyup Return
sleep 1

# ---- the east road, the shaft and the water ----------------------------------------
walk_east 130
shot 07-east-road
walk_east 153
sleep 0.5
shot 08-the-shaft-door
walk_until p '[ "$PY" -le 40 ]' 15            # the updraft carries him up
shot 09-up-the-shaft
walk_until l '[ "$PY" -ge 90 ]' 20             # down against the updraft
shot 10-down-the-shaft
walk_until l '[ "$PY" -ge 138 ]' 15
sleep 1
shot 11-under-water

# ---- the teleport's fallback, under the clouds --------------------------------------
# each T jumps back one remembered place; once they are used up it lands in
# the gap the cloud bank keeps open over the calm valley, and he drops out
for k in 1 2 3 4 5 6; do xdotool key t; sleep 0.4; pos; [ "$PY" -le 3 ] && break; done
say "at $PX,$PY"
shot 12-the-fallback
for k in $(seq 1 20); do pos; [ "$PY" -ge 8 ] && break; sleep 0.1; done
shot 13-under-the-clouds

# ---- the menu ---------------------------------------------------------------------
xdotool key 0; sleep 1; shot 14-menu; sleep 1; xdotool key 0; sleep 0.5

# ---- the editor -------------------------------------------------------------------
# At the default zoom a palette cell is about 19 pixels square and a map cell
# about 76: the clicks aim at the middles of the cells drawn there.
xdotool key 2; sleep 1
shot 15-editor
xdotool mousemove 67 48 click 1                # palette cell (3, 2): tile 35
sleep 0.5
hold 4 0.2                                     # mirrored left to right
for x in 430 506 582 658 734; do xdotool mousemove "$x" 300 click 1; sleep 0.3; done
shot 16-painted
xdotool key 8                                  # save
sleep 0.5
xdotool mousemove 700 470 click 3              # the ground's tile picked up (right click)
sleep 0.3
xdotool key Right Right                        # the view two tiles right
sleep 0.5
xdotool mousemove 600 110 click 1              # one more tile, in the sky, not saved
sleep 0.5
shot 17-unsaved-tile
xdotool key 7                                  # reload: the unsaved tile goes
sleep 0.5
shot 18-reloaded
xdotool key 2; sleep 0.5

# ---- to two minutes, then Escape -------------------------------------------------
while [ $(($(date +%s) - started)) -lt 122 ]; do sleep 1; done
xdotool key Escape
wait "$game"
status=$?
game=""
say "the game ended with status $status"
exit $status
