#!/usr/bin/env bash
# The game in headless Chromium against the native game (page_test.py beside
# this script). The native pictures of the same scenes are drawn here first,
# by quarn-sim --gl of the same build in the same world, under a virtual X
# server: the start, the menu, and the editor after a click on the palette's
# tile 16 and one on the map.
set -euo pipefail
source "$(dirname "$0")/common.bash"
source "$QUARN_SOURCE_DIR/tests/e2e/game.bash" web-page chromium convert-im6.q16 python3

start_xvfb
cp -r "$QUARN_BUILD_DIR/data" "$work/world"
printf '400 0\n430 0\n500 2\n510 click 10 30\n520 click 600 200\n' >"$work/native.keys"
(cd "$work/world" && "$QUARN_BUILD_DIR/tools/sim/quarn-sim" --gl --script "$work/native.keys" \
   --frames 540 --shot 399 "$work/native-start.ppm" --shot 420 "$work/native-menu.ppm" \
   --shot 530 "$work/native-editor.ppm" >/dev/null 2>"$work/sim.err") ||
  fail "quarn-sim --gl: $(tail -n 3 "$work/sim.err")"
python3 "$(dirname "$0")/page_test.py" "$web/site" "$work"
[ -z "${QUARN_PICTURES:-}" ] || cp "$work"/web-*.png "$QUARN_PICTURES"/
