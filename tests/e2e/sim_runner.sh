#!/usr/bin/env bash
# quarn-sim, the headless runner, on a copy of the default world: a key script
# file drives the game's own frames; the same script gives the same digests in
# two processes, one more key gives another world, seeded random keys repeat,
# Escape quits the way the game does, and a bad script is refused by line.
set -euo pipefail

: "${QUARN_BUILD_DIR:?QUARN_BUILD_DIR names the build folder}"
sim="$QUARN_BUILD_DIR/tools/sim/quarn-sim"
[ -x "$sim" ] || { echo "missing $sim" >&2; exit 1; }
[ -f "$QUARN_BUILD_DIR/data/map/phoebus.qnm" ] || { echo "missing default world" >&2; exit 1; }

source "$(dirname "$0")/game.bash" sim
cp -r "$QUARN_BUILD_DIR/data" "$work/data"
cd "$work/data"

cat > "$work/walk.keys" <<'KEYS'
# walk right, fly, fire, then quit
0-59 W
60-99 P   # the jetpack
80-119 RETURN
120 click 400 300
150 ESC
KEYS

"$sim" --script "$work/walk.keys" --digest-every 25 --check > "$work/out1" 2> "$work/err1"
"$sim" --script "$work/walk.keys" --digest-every 25 --check > "$work/out2" 2> "$work/err2"

# the game's console, exactly as the game prints it, from start-up to the quit
[ "$(head -n 1 "$work/out1")" = "made sin table" ] || fail "first console line"
[ "$(tail -c 24 "$work/out1")" = "$(printf 'sound freed\nmasks freed')" ] || fail "quit lines"
grep -q '^ran 151 frames in .* s (quit)$' "$work/err1" || fail "escape ends the run in frame 150"
cmp -s "$work/out1" "$work/out2" || fail "console differs between two runs"

# 6 digests at frames 25..150 and a last one; identical in both runs
[ "$(grep -c '^digest frame ' "$work/err1")" = 7 ] || fail "digest count"
diff <(grep '^digest' "$work/err1") <(grep '^digest' "$work/err2") || fail "digests differ"
grep -Eq '^digest frame 151 all=[0-9a-f]{16} frame=[0-9a-f]{16} .* sound=[0-9a-f]{16}$' \
  "$work/err1" || fail "digest line format"

# one more key (turn round at frame 10) gives another world from then on
sed 's/^150 ESC/10 TAB\n150 ESC/' "$work/walk.keys" > "$work/turn.keys"
"$sim" --script "$work/turn.keys" --digest-every 25 2> "$work/err3" > /dev/null
[ "$(grep '^digest frame 151' "$work/err1")" != "$(grep '^digest frame 151' "$work/err3")" ] ||
  fail "a turn changed nothing"

# seeded random keys repeat; another seed plays another game
"$sim" --random-keys 5 --frames 3000 --check 2> "$work/r1" > /dev/null
"$sim" --random-keys 5 --frames 3000 --check 2> "$work/r2" > /dev/null
"$sim" --random-keys 6 --frames 3000 --check 2> "$work/r3" > /dev/null
diff <(grep '^digest' "$work/r1") <(grep '^digest' "$work/r2") || fail "same seed, other world"
! diff -q <(grep '^digest' "$work/r1") <(grep '^digest' "$work/r3") > /dev/null ||
  fail "another seed, same world"

# a bad script is refused with its line, before the game starts
printf '0-9 W\n10 JUMP\n' > "$work/bad.keys"
set +e
"$sim" --script "$work/bad.keys" > "$work/out4" 2> "$work/err4"
rc=$?
set -e
[ "$rc" = 2 ] || fail "bad script exit code $rc"
grep -q "line 2: unknown key 'JUMP'" "$work/err4" || fail "bad script message"
[ ! -s "$work/out4" ] || fail "the game started on a bad script"
echo "sim_runner: all checks passed"
