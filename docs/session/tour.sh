#!/usr/bin/env bash
# A played session of the real game in the default world, under a virtual X
# server, driven by xdotool, for more than five minutes: walk east through
# the armoury with N held (every weapon taken, nothing else), the HUD with
# what the hand holds, fire, walk the east road to the updraft shaft, dive
# into the water at its foot, ride the updraft up and go in at the shaft's
# lower east door to the bat cave and back, up by its west wall, then by its
# east wall onto the gallery and take the booster, teleport back to the
# start, go west into the trap room, up the shaft in its roof to the wasps
# and back, down the hole at its west end to the imp den and back, and out,
# the window key and full screen again, the menu, then the editor (pick a
# tile, paint, save, pick the ground's tile up, pan, paint once more,
# reload) and Escape.
# Screenshots go beside this script; the console to console.txt
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
    [ "$key" = - ] || xdotool keydown "$key"    # again, in case the press was lost
  done
  [ "$key" = - ] || xdotool keyup "$key"
  for k in "$@"; do xdotool keyup "$k"; done
  say "at $PX,$PY"
}
# walks to tile column T and stops there: long presses while far, taps near
goto_x() {   # T
  local t=$1 n=0 k d
  pos
  while [ "$PX" -ne "$t" ] && [ $n -lt 40 ]; do
    if [ "$PX" -lt "$t" ]; then k=w; else k=q; fi
    d=$(( PX > t ? PX - t : t - PX ))
    if [ $d -gt 3 ]; then hold $k 0.4; sleep 0.6; else hold $k 0.04; sleep 1; fi
    pos; n=$((n + 1))
  done
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
walk_until - '[ "$PY" -le 118 ]' 40            # no key: the water and the updraft lift him

# ---- the bat cave, by the shaft's lower east door ------------------------------------
walk_until w '[ "$PX" -ge 157 ]' 30            # W held while he rises: by the east wall and in at the door
walk_until w '[ "$PX" -ge 185 ]' 60            # along the level passage into the bat cave
shot 08-bat-cave
walk_until q '[ "$PX" -le 154 ]' 60            # back west into the shaft,
walk_until - '[ "$PY" -le 96 ]' 40             # and the updraft lifts him
hold q 0.3                                     # to the west wall, where it has no door
hold w 0.1                                     # with a touch back
walk_until - '[ "$PY" -le 82 ]' 20             # the updraft lifts him there too
shot 09-up-by-the-west-wall

# ---- up by the east wall onto the gallery, the booster -------------------------------
walk_until - '[ "$PY" -le 66 ]' 40             # by the west wall above the upper east door,
hold w 0.2                                     # to the east wall, above its doors:
walk_until - '[ "$PY" -le 39 ]' 40             # the updraft lifts him there too
shot 10-up-by-the-east-wall
for try in 1 2 3; do                           # the booster lies east of all else on the gallery:
  walk_until p '[ "$PY" -le 35 ]' 5            # up above the gallery's floor,
  hold q 0.25                                  # a push west, and friction stops him on the floor
  sleep 2.5                                    # a tile or two from the shaft, east of the booster
  pos; say "on the gallery at $PX,$PY"
  [ "$PX" -le 153 ] && break                   # else he fell back into the updraft: again
done
shot 11-the-gallery
walk_until q '[ "$PX" -le 149 ]' 10 n          # west over it with N: the first thing he meets goes into the hand
sleep 0.5
shot 12-the-booster-in-hand

# ---- west of the start: the trap room, the wasps, the imp den, and out ---------------------
xdotool key t                                  # the teleport: nothing remembered, so to the start
sleep 1.5
pos; say "teleported to $PX,$PY"
shot 13-teleported-to-the-start
walk_until q '[ "$PX" -le 78 ]' 40             # off the road's west end: down into the trap room
sleep 3
shot 14-trap-room
goto_x 70                                      # under the shaft in its roof,
walk_until p '[ "$PY" -le 40 ]' 20             # up it with the jetpack,
hold q 0.3                                     # off onto the passage's floor
sleep 1.5
walk_until q '[ "$PX" -le 53 ]' 40             # and west into the wasps' room
shot 15-the-wasps
walk_until w '[ "$PY" -ge 55 ]' 40             # back east, down the shaft into the trap room
sleep 2
walk_until q '[ "$PY" -ge 63 ]' 30             # west, into the hole,
hold w 0.1                                     # its way west stopped, and down into the imp den
sleep 3
shot 16-the-imp-den
goto_x 62                                      # under the hole,
sleep 1
walk_until p '[ "$PY" -le 60 ]' 20             # up it with the jetpack
walk_until w '[ "$PX" -ge 65 ]' 10 p           # east over the hole's edge,
goto_x 76                                      # and along the trap room's floor under the way out,
walk_until p '[ "$PY" -le 52 ]' 20             # out: up with the jetpack
walk_until w '[ "$PX" -ge 81 ]' 10 p
walk_until w '[ "$PX" -ge 90 ]' 20
shot 17-back-at-the-start

# ---- the window key, then full screen again -------------------------------------------
xdotool key F10; sleep 1
say "window after F10: $(geometry)"
shot 18-window
xdotool key F9; sleep 1
say "window after F9: $(geometry)"
shot 19-full-screen-again

# ---- the menu ---------------------------------------------------------------------
xdotool key 0; sleep 1; shot 20-menu; sleep 1; xdotool key 0; sleep 0.5

# ---- the editor -------------------------------------------------------------------
# At the default zoom a palette cell is about 19 pixels square and a map cell
# about 76: the clicks aim at the middles of the cells drawn there.
xdotool key 2; sleep 1
shot 21-editor
xdotool mousemove 67 48 click 1                # palette cell (3, 2): tile 35
sleep 0.5
hold 4 0.2                                     # mirrored left to right
for x in 430 506 582 658 734; do xdotool mousemove "$x" 300 click 1; sleep 0.3; done
shot 22-painted
xdotool key 8                                  # save
sleep 0.5
xdotool mousemove 700 470 click 3              # the ground's tile picked up (right click)
sleep 0.3
xdotool key Right Right                        # the view two tiles right
sleep 0.5
xdotool mousemove 600 110 click 1              # one more tile, in the sky, not saved
sleep 0.5
shot 23-unsaved-tile
xdotool key 7                                  # reload: the unsaved tile goes
sleep 0.5
shot 24-reloaded
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
