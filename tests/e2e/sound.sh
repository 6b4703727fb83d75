#!/usr/bin/env bash
# The real game makes sound: in a small data folder a placed rock whose class
# lives 0 frames and dies by explosion plays explosion2 in the first frame.
# OpenAL Soft's wave writer records the output; Escape quits the game, which
# closes the device and so finishes the file; the recording must not be silent.
set -euo pipefail
: "${QUARN_BIN:?QUARN_BIN names the game executable}"

work=$(mktemp -d /tmp/quarn-e2e-sound-XXXXXX)
xvfb_pid="" game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; cat "$work/console.txt" >&2 || true; exit 1; }

# classes in kind order from man: man, urn, urnfull, rock; the rock has
# lifespan 0 and damage type 1 (explosion)
data="$work/data"
mkdir -p "$data/map" "$data/sfx"
cat > "$data/map/phoebus.ent" <<'EOF2'
classes
man 16,32,1,1,100,-1,0,1,32,32,1,0,0,0,0,0
urn 16,16,2,1,-1,-1,0,0,16,16,0,0,0,0,0,0
urnfull 16,16,3,1,-1,-1,0,0,16,16,0,0,0,0,0,0
rock 16,16,4,1,10,0,0,0,16,16,0,0,1,0,241,0
EOF2
printf 'placements\nrock 4,10,0,10,0,0,0,0,0,0\n' > "$data/map/phoebus.epo"
sox -n -r 22050 -c 1 -b 16 "$data/sfx/explosion2.wav" synth 1.0 sine 440 vol 0.8

out="$work/out.wav"
printf '[general]\ndrivers = wave\n[wave]\nfile = %s\n' "$out" > "$work/alsoft.conf"

# a virtual X server on a display it picks itself
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && display=":$(head -n1 "$work/display")" && break
  sleep 0.1
done
[ -n "$display" ] || fail "Xvfb did not start"

(cd "$data" && exec env DISPLAY="$display" ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave \
   "$QUARN_BIN" >"$work/console.txt" 2>&1) &
game_pid=$!
for _ in $(seq 1 100); do
  grep -q "spawned entity: rock" "$work/console.txt" 2>/dev/null && break
  sleep 0.1
done
sleep 2   # the explosion (about 2 s at the tinted pitch) plays out
DISPLAY=$display xdotool key Escape
for _ in $(seq 1 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$game_pid" 2>/dev/null && fail "the game did not quit on Escape"
status=0
wait "$game_pid" || status=$?
game_pid=""

[ "$status" -eq 0 ] || fail "the game exited with $status"
grep -q "Loaded sound 9 (" "$work/console.txt" || fail "explosion2 was not loaded"
grep -q "init sound ok" "$work/console.txt" || fail "the sound device did not open"
grep -q "sound freed" "$work/console.txt" || fail "the sound system was not released"
stat=$(sox "$out" -n stat 2>&1) || fail "no readable recording"
echo "$stat"
max=$(awk '/^Maximum amplitude/ {print $3}' <<<"$stat")
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stat")
awk -v m="$max" -v r="$rms" 'BEGIN { exit !(m > 0.1 && r > 0.01) }' ||
  fail "the recording is silent (maximum $max, RMS $rms)"
echo "1 passed, 0 failed"
