#!/usr/bin/env bash
# quarn-sim built to wasm and run under node plays the same game as the native
# one: on the tour (every part of the game, a digest every 100 frames), on
# seeded random keys, on a session that clicks and quits and on the demo of a
# session played here in the real game under a virtual X server (walking, the
# jetpack, the editor and its clicks, Escape), the world digests and the game's
# console are the same byte for byte, and both replays end in step with the
# recording.
set -euo pipefail
source "$(dirname "$0")/common.bash"
source "$QUARN_SOURCE_DIR/tests/e2e/game.bash" web-sim node
sim="$QUARN_BUILD_DIR/tools/sim/quarn-sim"

cp -r "$QUARN_BUILD_DIR/data" "$work/data"
cp -r "$QUARN_BUILD_DIR/data" "$work/recorded"
cd "$work/data"

hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
start_xvfb
start_game "$work/recorded" "$QUARN_BIN" --record "$work/session.dem"
xdotool keydown n; hold w 1; xdotool keyup n
hold p 0.4
xdotool key 2; sleep 0.3
xdotool mousemove 100 100 click 1; sleep 0.2
xdotool mousemove 500 400 click 1; sleep 0.2
xdotool key 2; sleep 0.2
xdotool key Escape
wait_exit "Escape" "^demo recorded to .*: [0-9]+ frames, digest [0-9a-f]{16}$"
recorded=$(tail -n1 "$console" | sed 's/^demo recorded to /demo /')

cat >"$work/quit.keys" <<'KEYS'
0-59 W
40 2
50 click 100 100
60 click 500 300
70 2
80-99 P
100 ESC
KEYS

sessions=("--tour --digest-every 100"
          "--random-keys 7 --frames 1500 --digest-every 100"
          "--random-keys 2026 --frames 1500 --digest-every 100"
          "--play $work/session.dem --digest-every 20"
          "--script $work/quit.keys --digest-every 10")
k=0
for args in "${sessions[@]}"; do
  k=$((k + 1))
  # shellcheck disable=SC2086  # the options are words
  "$sim" $args >"$work/native.out" 2>"$work/native.err" || fail "native quarn-sim $args: $(tail -n 3 "$work/native.err")"
  # node's own fetch would take the wasm file's path for an address
  # shellcheck disable=SC2086
  node --no-experimental-fetch "$web/quarn-sim.js" $args >"$work/web.out" 2>"$work/web.err" ||
    fail "quarn-sim.js $args: $(tail -n 3 "$work/web.err")"
  [ "$(grep -c '^digest frame ' "$work/native.err")" -ge 10 ] || fail "too few digests for $args"
  diff <(grep '^digest' "$work/native.err") <(grep '^digest' "$work/web.err") >&2 ||
    fail "the digests differ on $args"
  cmp "$work/native.out" "$work/web.out" >&2 || fail "the console differs on $args"
  grep -q "^ran .* frames" "$work/web.err" || fail "no end line for $args"
  case $args in
    --play*) [ "$(tail -n1 "$work/web.out")" = "$recorded" ] ||
               fail "the replay ended with: $(tail -n1 "$work/web.out"), not: $recorded" ;;
  esac
done
grep -q '(quit)$' "$work/web.err" || fail "Escape did not end the last session"
echo "web sim: $k sessions, the same digests and console under node as natively"
