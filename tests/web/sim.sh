#!/usr/bin/env bash
# quarn-sim built to wasm and run under node plays the same game as the native
# one: on the tour (every part of the game, a digest every 100 frames), on
# seeded random keys, on a session that clicks and quits and on the demo of a
# five-minute played session, the world digests and the game's console are the
# same byte for byte.
set -euo pipefail
source "$(dirname "$0")/common.bash"
command -v node >/dev/null || fail "missing tool: node"

work=$(mktemp -d /tmp/quarn-web-sim-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$QUARN_BUILD_DIR/data" "$work/data"
cd "$work/data"

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
          "--play $QUARN_SOURCE_DIR/docs/session/tour.dem --digest-every 500"
          "--script $work/quit.keys --digest-every 10")
k=0
for args in "${sessions[@]}"; do
  k=$((k + 1))
  # shellcheck disable=SC2086  # the options are words
  "$QUARN_BUILD_DIR/tools/sim/quarn-sim" $args >"$work/native.out" 2>"$work/native.err" ||
    fail "native quarn-sim $args"
  # node's own fetch would take the wasm file's path for an address
  # shellcheck disable=SC2086
  node --no-experimental-fetch "$web/quarn-sim.js" $args >"$work/web.out" 2>"$work/web.err" ||
    fail "quarn-sim.js $args: $(tail -n 3 "$work/web.err")"
  [ "$(grep -c '^digest frame ' "$work/native.err")" -ge 10 ] || fail "too few digests for $args"
  diff <(grep '^digest' "$work/native.err") <(grep '^digest' "$work/web.err") >&2 ||
    fail "the digests differ on $args"
  cmp "$work/native.out" "$work/web.out" >&2 || fail "the console differs on $args"
  grep -q "^ran .* frames" "$work/web.err" || fail "no end line for $args"
done
grep -q '(quit)$' "$work/web.err" || fail "Escape did not end the last session"
echo "web sim: $k sessions, the same digests and console under node as natively"
