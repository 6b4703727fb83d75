#!/usr/bin/env bash
# The install: cmake --install into a temporary prefix puts both programs, the
# default world, the desktop entry and its icon in place. The installed game,
# started in an empty folder with a fresh home under a virtual X server, copies
# the world into the player's own folder and says so in one line, plays it
# (the world is drawn; the editor's save lands in the player's folder and
# nowhere else); started again it plays the same folder without copying.
set -euo pipefail

: "${QUARN_BUILD_DIR:?QUARN_BUILD_DIR names the build folder}"
source "$(dirname "$0")/game.bash" install cmake

# ---- the install ---------------------------------------------------------------------------
prefix="$work/prefix"
cmake --install "$QUARN_BUILD_DIR" --prefix "$prefix" >"$work/install.log" || fail "cmake --install: $(cat "$work/install.log")"
for f in bin/quarn bin/quarn-world share/quarn/world/map/phoebus.qnm share/quarn/world/gfx/tiles.raw \
         share/applications/quarn.desktop share/icons/hicolor/128x128/apps/quarn.png; do
  [ -s "$prefix/$f" ] || fail "not installed: $f"
done
grep -qx "Exec=quarn" "$prefix/share/applications/quarn.desktop" || fail "the desktop entry does not start quarn"
[ ! -e "$prefix/share/quarn/world/.worldgen-stamp" ] || fail "the build's stamp was installed"
"$prefix/bin/quarn-world" check "$prefix/share/quarn/world" >"$work/check.txt" || fail "check: $(cat "$work/check.txt")"

# ---- the installed game started outside a data folder -----------------------------------------
start_xvfb

mkdir -p "$work/empty" "$work/home"
export HOME="$work/home" XDG_DATA_DIRS="/nonexistent"
unset XDG_DATA_HOME
mine="$HOME/.local/share/quarn/world"

quit_game() {
  xdotool key Escape
  for _ in $(seq 1 100); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.1; done
  wait "$game_pid" || fail "exit status $? after Escape"
  game_pid=""
}

start_game "$work/empty" "$prefix/bin/quarn"
head -n1 "$console" | grep -qxF "world folder: $mine (copied from $prefix/share/quarn/world)" \
  || fail "first line: $(head -n1 "$console")"
sed -n 2p "$console" | grep -qx "made sin table" || fail "the game's own lines do not follow"
grep -qF 'map map\phoebus.qnm loaded' "$console" || fail "the copied map was not loaded"
[ "$(grep -c "^spawned entity: " "$console")" -gt 50 ] || fail "the copied world's entities were not placed"
cmp -s "$mine/map/phoebus.qnm" "$prefix/share/quarn/world/map/phoebus.qnm" || fail "the copy differs"
import -window root "$work/shot.png" || fail "no screenshot"
if command -v convert-im6.q16 >/dev/null; then
  mean=$(convert-im6.q16 "$work/shot.png" -format '%[fx:int(mean*1000)]' info:)
  [ "$mean" -gt 20 ] || fail "the screen is dark (mean $mean/1000)"
fi
[ -n "${QUARN_SHOT:-}" ] && cp "$work/shot.png" "$QUARN_SHOT"
touch "$work/before-save"
sleep 0.05
xdotool key 2      # the editor on
sleep 0.3
xdotool key 8      # save the map
sleep 0.5
grep -qF 'map saved to map\phoebus.qnm' "$console" || fail "no save"
[ -n "$(find "$mine/map/phoebus.qnm" -newer "$work/before-save")" ] || fail "the save did not land in $mine"
[ -z "$(ls -A "$work/empty")" ] || fail "the game wrote into the folder it was started in"
[ -z "$(find "$prefix" -newer "$work/before-save")" ] || fail "the game wrote into the install"
quit_game

start_game "$work/empty" "$prefix/bin/quarn"
head -n1 "$console" | grep -qxF "world folder: $mine" || fail "second start: $(head -n1 "$console")"
quit_game
echo "install: programs, world, desktop entry and icon in place; the world copied once and played in the player's folder"
