#!/usr/bin/env bash
# Demos of the real game under a virtual X server, in a copy of the default
# world: a session played with xdotool (walking, the jetpack, the editor's
# palette, painting, the eyedropper, a save, pan, tile set and undo, F10 then
# F9, firing, Escape) is recorded with --record; replayed headless by
# quarn-sim --play and in the window by quarn --play, both end with the digest
# the recording printed, and neither changes the world's files. Escape stops a
# replay. Options the game does not know and demos that are cut short or of
# another world are refused with one line and status 2 (the loader's other
# reasons are tested in test_demo.cpp), and --help and --version answer, all
# without a display.
set -euo pipefail
source "$(dirname "$0")/game.bash" demo md5sum
: "${QUARN_BUILD_DIR:?QUARN_BUILD_DIR names the build folder}"
sim="$QUARN_BUILD_DIR/tools/sim/quarn-sim"
[ -x "$sim" ] && [ -f "$QUARN_BUILD_DIR/data/map/phoebus.qnm" ] || fail "missing quarn-sim or the default world"
data="$work/data"
cp -r "$QUARN_BUILD_DIR/data" "$data"
demo="$work/session.dem"
files() { (cd "$data" && find . -type f | sort | xargs md5sum); }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
click() { xdotool mousemove "$1" "$2" click "${3:-1}"; sleep 0.2; }

start_xvfb
start_game "$data" "$QUARN_BIN" --record "$demo"
xdotool keydown n; hold w 1.2; xdotool keyup n
hold p 0.4
xdotool key 2; sleep 0.3
click 100 100; click 500 400; click 560 400 3
xdotool key 8; sleep 0.3
click 600 300
xdotool key Right 9 z; sleep 0.3
xdotool key F10; sleep 0.5
click 300 200
xdotool key F9; sleep 0.5
xdotool key 2; sleep 0.2
hold Return 0.8
xdotool key Escape
wait_exit Escape "^demo recorded to $demo: [0-9]+ frames, digest [0-9a-f]{16}$"
[ "$(count 'map saved to')" -eq 1 ] && [ "$(count 'unsaved painting saved')" -eq 1 ] || fail "the session did not save"
line=$(tail -n1 "$console" | sed 's/^demo recorded to /demo /')
files >"$work/world.md5"

# headless, as fast as it goes
(cd "$data" && "$sim" --play "$demo" >"$work/sim.txt" 2>"$work/sim.err") || fail "quarn-sim --play: $(cat "$work/sim.err")"
[ "$(tail -n1 "$work/sim.txt")" = "$line" ] || fail "quarn-sim --play ended with: $(tail -n1 "$work/sim.txt"), not: $line"

# in the window, at the game's own pace
start_game "$data" "$QUARN_BIN" --play "$demo"
sleep 1
import -window root "$work/replay.png" || fail "no screenshot"
if command -v convert-im6.q16 >/dev/null; then
  mean=$(convert-im6.q16 "$work/replay.png" -format '%[fx:int(mean*1000)]' info:)
  [ "$mean" -gt 20 ] || fail "the replay shows a dark screen (mean $mean/1000)"
fi
for _ in $(seq 1 300); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
wait_exit "the replay" "^${line}$"
grep -qx "demo $demo: what the session saved was not written to the world" "$console" || fail "no line about the saves"
diff "$work/world.md5" <(files) >/dev/null || fail "a replay changed the world's files"

# Escape stops a replay
start_game "$data" "$QUARN_BIN" --play "$demo"
xdotool key Escape
wait_exit "Escape in a replay" "^demo $demo: stopped after [0-9]+ of [0-9]+ frames$"

# refused or answered without a window
refused() {   # WHY ARGS...: exit status 2, one line on stderr that holds WHY, nothing on stdout
  local why=$1 rc=0; shift
  (cd "$data" && env -u DISPLAY "$QUARN_BIN" "$@" >"$work/out.txt" 2>"$work/err.txt") || rc=$?
  [ "$rc" -eq 2 ] || fail "quarn $*: status $rc"
  [ "$(wc -l <"$work/err.txt")" -eq 1 ] && grep -qF -- "$why" "$work/err.txt" || fail "quarn $*: $(cat "$work/err.txt")"
  [ ! -s "$work/out.txt" ] || fail "quarn $* printed: $(cat "$work/out.txt")"
}
head -c 1000 "$demo" >"$work/cut.dem"
cp -r "$data" "$work/other"
printf x >>"$work/other/gfx/hud.raw"
refused "unknown option --fast" --fast
refused "--play wants a FILE" --play
refused "cut short" --play "$work/cut.dem"
refused "cannot write it" --record "$work/no/such/folder/x.dem"
data="$work/other" refused "recorded in another world: gfx\\hud.raw differs" --play "$demo"
for opt in --help --version; do
  env -u DISPLAY "$QUARN_BIN" "$opt" >"$work/out.txt" 2>&1 || fail "quarn $opt failed"
done
grep -q '^quarn 1\.' "$work/out.txt" || fail "--version: $(cat "$work/out.txt")"
echo "demo: recorded under xdotool, replayed headless and in the window to the recorded digest; bad demos refused"
