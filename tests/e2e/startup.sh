#!/usr/bin/env bash
# The real game under a virtual X server: in a small data folder (the man's
# class, a floor of tiles below the player, one colour for the tile set, solid
# masks) it starts
# with its console lines in order, shows a picture, and Escape ends it with
# status 0 after it has released the sound system.
set -euo pipefail

: "${QUARN_BIN:?QUARN_BIN names the game executable}"
for tool in Xvfb xdotool import perl; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d /tmp/quarn-e2e-startup-XXXXXX)
xvfb_pid=""
game_pid=""
cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "$game_pid" ] && wait "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && wait "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "--- console:" >&2; cat "$work/console.txt" >&2 || true; exit 1; }

# ---- the data folder -------------------------------------------------------------
data="$work/data"
mkdir -p "$data/map" "$data/gfx"
# tile 5 of set 0 from row 55 down, empty above (player 0 starts in row 53)
perl -e 'for $x (0..255) { for $y (0..255) { print pack("V", $y >= 55 ? 5 : 0) } }' \
  > "$data/map/phoebus.qnm"
perl -e 'print "\xc0\x80\x40" x (1024 * 1024)' > "$data/gfx/tiles.raw"
perl -e 'print "\xff" x (1024 * 1024)' > "$data/gfx/m_tiles.raw"
printf 'classes\nman 16,32,1,1,100,-1,0,1,32,32,1,0,0,0,0,0\n' > "$data/map/phoebus.ent"

# ---- a virtual X server on a display it picks itself --------------------------------
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(head -n1 "$work/display")"

# ---- start the game ------------------------------------------------------------------
(cd "$data" && exec env DISPLAY="$display" "$QUARN_BIN" >"$work/console.txt" 2>"$work/stderr.txt") &
game_pid=$!
for _ in $(seq 1 100); do
  grep -q "loaded mask 0" "$work/console.txt" 2>/dev/null && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game stopped at start-up"
  sleep 0.1
done
sleep 1   # a few dozen frames

# The console lines of the start-up, in this order.
expect_in_order() {
  local at=0 line n
  for line in "$@"; do
    n=$(tail -n +"$((at + 1))" "$work/console.txt" | grep -n -F -m1 -- "$line" | cut -d: -f1) ||
      fail "missing or out of order: $line"
    [ -n "$n" ] || fail "missing or out of order: $line"
    at=$((at + n - 1))
  done
}
expect_in_order "made sin table" 'map map\phoebus.qnm loaded' "init map" "init particles" \
  "init wind" "init sound " "loaded 1 tile tex(s)loaded mask 0"
head -n1 "$work/console.txt" | grep -qx "made sin table" || fail "first line"

# ---- the picture ------------------------------------------------------------------------
DISPLAY=$display import -window root "$work/shot.png" || fail "no screenshot"
[ -s "$work/shot.png" ] || fail "empty screenshot"
if command -v convert-im6.q16 >/dev/null; then
  # the floor of tiles is in view: the picture is not black
  mean=$(convert-im6.q16 "$work/shot.png" -format '%[fx:int(mean*1000)]' info:)
  [ "$mean" -gt 20 ] || fail "the screen is dark (mean $mean/1000)"
fi
[ -n "${QUARN_SHOT:-}" ] && cp "$work/shot.png" "$QUARN_SHOT"

# ---- quit with Escape ----------------------------------------------------------------------
DISPLAY=$display xdotool key Escape
status=""
for _ in $(seq 1 100); do
  if ! kill -0 "$game_pid" 2>/dev/null; then
    status=0
    wait "$game_pid" || status=$?
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "Escape did not end the game"
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
expect_in_order "sound freed" "masks freed"
tail -n1 "$work/console.txt" | grep -qx "masks freed" || fail "masks freed is not the last line"
echo "startup: console in order, picture shown, Escape quits with status 0"
