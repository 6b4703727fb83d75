#!/usr/bin/env bash
# The real game makes sound: in a small data folder a placed rock whose class
# lives 0 frames and dies by explosion plays explosion2 in the first frame.
# OpenAL Soft's wave writer records the output; Escape quits the game, which
# closes the device and so finishes the file; the recording must not be silent.
set -euo pipefail
source "$(dirname "$0")/game.bash" sound sox

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

start_xvfb
ALSOFT_CONF="$work/alsoft.conf" ALSOFT_DRIVERS=wave start_game "$data"
sleep 2   # the explosion (about 2 s at the tinted pitch) plays out
xdotool key Escape
wait_exit Escape
grep -q "Loaded sound 9 (" "$console" || fail "explosion2 was not loaded"
grep -q "init sound ok" "$console" || fail "the sound device did not open"
stat=$(sox "$out" -n stat 2>&1) || fail "no readable recording"
echo "$stat"
max=$(awk '/^Maximum amplitude/ {print $3}' <<<"$stat")
rms=$(awk '/^RMS +amplitude/ {print $3}' <<<"$stat")
awk -v m="$max" -v r="$rms" 'BEGIN { exit !(m > 0.1 && r > 0.01) }' ||
  fail "the recording is silent (maximum $max, RMS $rms)"
echo "1 passed, 0 failed"
