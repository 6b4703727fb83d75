#!/usr/bin/env bash
# A played session of the real game in the default world, under a virtual X
# server, driven by xdotool: pick up the weapons on the start chamber's floor,
# select them, throw grenades at the grotto's creatures, fly the route to the
# updraft shaft and down it into the water, the HUD and the menu, then the
# editor (pick a tile, paint, save, paint once more, reload) and Escape.
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
shot 02-armoury-left
walk_until_fanfares w 5 20                     # the blaster, the plasma gun, the suit
shot 03-armoury-right
xdotool key 1                                  # the HUD
sleep 0.5
shot 04-hud

# ---- firing at the grotto's creatures -------------------------------------------
pos; say "at $PX,$PY"
hold w 0.05                                    # face right
for k in F2 F3 F4; do hold "$k" 0.2; hold Return 0.3; done
hold F1 0.2                                    # the pistol, at the grotto's fluffy
xdotool keydown Return; sleep 0.8; shot 05-pistol; sleep 1.2; xdotool keyup Return
hold F6 0.2                                    # armed grenades
xdotool keydown Return; sleep 1.0; shot 06-grenades; sleep 1.0; xdotool keyup Return
sleep 1

# ---- the route to the shaft -------------------------------------------------------
# up the tunnel from the grotto's west end, along under the surface band, up
# the wall of the brown block, across the high room and along the corridor to
# the top of the updraft shaft
for try in 1 2 3; do                           # into the tunnel's mouth, from the floor
  walk_until l '[ "$PY" -ge 53 ]' 5            # back on the floor: blasts lift the man
  sleep 1
  pos
  if [ "$PX" -gt 97 ]; then walk_until q '[ "$PX" -le 97 ]' 8; else walk_until w '[ "$PX" -ge 97 ]' 8; fi
  sleep 0.5
  xdotool keydown p; sleep 0.4
  walk_until w '[ "$PX" -ge 104 ]' 6 p
  [ "$PX" -ge 104 ] && break
  xdotool keyup p
done
walk_until w '[ "$PX" -ge 109 ]' 8 p
xdotool keyup p
hop() {   # key test [row]: KEY held, the jetpack held while below ROW, until the test holds
  local key=$1 t=0 row=${3:-999} up=0; shift
  xdotool keydown "$key"
  while pos; ! eval "$1"; do
    if [ "$row" = 999 ]; then hold p 0.3; sleep 0.3
    elif [ "$PY" -gt "$row" ] && [ $up = 0 ]; then xdotool keydown p; up=1
    elif [ "$PY" -lt "$row" ] && [ $up = 1 ]; then xdotool keyup p; up=0
    fi
    t=$((t + 1)); [ $t -gt 80 ] && { say "gave up: $1 at $PX,$PY"; break; }
  done
  xdotool keyup "$key"; [ $up = 1 ] && xdotool keyup p
  say "at $PX,$PY"
}
hop_right() { hop w "$@"; }
hop_right '[ "$PX" -ge 128 ]'
shot 07-brown-block
walk_until p '[ "$PY" -le 34 ]' 10             # up the wall beside the brown block
hop_right '[ "$PX" -ge 140 ]' 33               # across the high room
shot 08-high-room
hop_right '[ "$PX" -ge 146 ]' 33               # (it may sink into the pit at its east end)
walk_until p '[ "$PY" -le 38 ]' 6              # up to the corridor's floor
xdotool keydown p; sleep 0.5; xdotool keyup p
hop_right '[ "$PX" -ge 152 ]'                  # along the corridor in short bursts
sleep 1; pos
[ "$PX" -ge 155 ] && hop q '[ "$PX" -le 154 ]'  # back over the shaft if it drifted past
sleep 2                                        # the updraft takes hold
shot 09-over-the-shaft
walk_until l '[ "$PY" -ge 90 ]' 20
shot 10-in-the-shaft
walk_until l '[ "$PY" -ge 137 ]' 15
sleep 1
shot 11-under-water

# ---- the menu ---------------------------------------------------------------------
xdotool key 0; sleep 1; shot 12-menu; sleep 1; xdotool key 0; sleep 0.5

# ---- the editor -------------------------------------------------------------------
xdotool key 2; sleep 1
shot 13-editor
xdotool mousemove 40 24 click 1                # palette cell (3, 2): tile 35
sleep 0.5
hold 4 0.2                                     # mirrored left to right
for x in 520 536 552 568 584; do xdotool mousemove "$x" 300 click 1; sleep 0.3; done
shot 14-painted
hold 8 0.1                                     # save
sleep 0.5
xdotool mousemove 520 460 click 1              # one more tile, not saved
sleep 0.5
shot 15-unsaved-tile
hold 7 0.1                                     # reload: the unsaved tile goes
sleep 0.5
shot 16-reloaded
xdotool key 2; sleep 0.5

# ---- to two minutes, then Escape -------------------------------------------------
while [ $(($(date +%s) - started)) -lt 122 ]; do sleep 1; done
xdotool key Escape
wait "$game"
status=$?
game=""
say "the game ended with status $status"
exit $status
