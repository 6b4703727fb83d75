#!/usr/bin/env bash
# The real game makes sound: in a small data folder a placed rock whose class
# lives 0 frames and dies by explosion plays explosion2 in the first frame.
# OpenAL Soft's wave writer records the output; Escape quits the game, which
# releases the sound system and so closes the device and finishes the file;
# then the recording must not be silent.
set -euo pipefail

: "${QUARN_BIN:?QUARN_BIN names the game executable}"
for tool in Xvfb xdotool sox; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d /tmp/quarn-e2e-sound-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# ---- the data folder ----------------------------------------------------------
data="$work/data"
mkdir -p "$data/map" "$data/sfx" "$data/gfx/ents"
# classes in kind order from man: man, urn, urnfull, rock; the rock has
# lifespan 0 and damage type 1 (explosion)
cat > "$data/map/phoebus.ent" <<'EOF'
classes
man 16,32,1,1,100,-1,0,1,32,32,1,0,0,0,0,0
urn 16,16,2,1,-1,-1,0,0,16,16,0,0,0,0,0,0
urnfull 16,16,3,1,-1,-1,0,0,16,16,0,0,0,0,0,0
rock 16,16,4,1,10,0,0,0,16,16,0,0,1,0,241,0
EOF
cat > "$data/map/phoebus.epo" <<'EOF'
placements
rock 4,10,0,10,0,0,0,0,0,0
EOF
sox -n -r 22050 -c 1 -b 16 "$data/sfx/explosion2.wav" synth 1.0 sine 440 vol 0.8

# ---- OpenAL Soft renders into a file ------------------------------------------
out="$work/out.wav"
cat > "$work/alsoft.conf" <<EOF
[general]
drivers = wave
[wave]
file = $out
EOF

# ---- a virtual X server on a display it picks itself ------------------------------
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && display=":$(head -n1 "$work/display")" && break
  sleep 0.1
done
[ -n "$display" ] || { echo "Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }

# ---- run the game, let the sound play, quit with Escape ---------------------------
(cd "$data" && exec env DISPLAY="$display" ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave \
   "$QUARN_BIN" >"$work/console.txt" 2>&1) &
game_pid=$!

for _ in $(seq 1 100); do
  grep -q "spawned entity: rock" "$work/console.txt" 2>/dev/null && break
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
sleep 2
DISPLAY=$display xdotool key Escape

status=0
for _ in $(seq 1 100); do
  kill -0 "$game_pid" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$game_pid" 2>/dev/null; then
  echo "the game did not quit on Escape" >&2
  status=1
else
  wait "$game_pid" || status=$?
fi
game_pid=""

echo "---- console"
cat "$work/console.txt"
echo "----"
fail() { echo "FAIL: $*" >&2; exit 1; }
[ "$status" -eq 0 ] || fail "the game exited with $status"
grep -q "Loaded sound 9 (" "$work/console.txt" || fail "explosion2 was not loaded"
grep -q "init sound ok" "$work/console.txt" || fail "the sound device did not open"
grep -q "sound freed" "$work/console.txt" || fail "the sound system was not released"
[ -s "$out" ] || fail "no recording"

stat=$(sox "$out" -n stat 2>&1)
echo "$stat"
max=$(awk '/^Maximum amplitude/ {print $3}' <<<"$stat")
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stat")
awk -v m="$max" -v r="$rms" 'BEGIN { exit !(m > 0.1 && r > 0.01) }' ||
  fail "the recording is silent (maximum $max, RMS $rms)"
echo "1 passed, 0 failed"
