#!/usr/bin/env bash
# The real game under a virtual X server, in a small data folder (the man's
# class, a floor of tiles below the player, one colour for the tile set, solid
# masks): the start-up lines come in order and a picture is shown; short key
# taps count and the keypad's 2 and 8 (zoom) are not the main row's (editor,
# save); F10 then F9 give a small window and then the whole screen back at
# (0, 0); Escape ends the game with status 0 after releasing the sound system;
# so does closing the window (a second run).
set -euo pipefail

source "$(dirname "$0")/game.bash" startup cc

data="$work/data"
mkdir -p "$data/map" "$data/gfx"
# tile 5 of set 0 from row 55 down (player 0 starts in row 53), empty above
perl -e 'for $x (0..255) { for $y (0..255) { print pack("V", $y >= 55 ? 5 : 0) } }' >"$work/map.qnm"
cp "$work/map.qnm" "$data/map/phoebus.qnm"
perl -e 'print "\xc0\x80\x40" x (1024 * 1024)' >"$data/gfx/tiles.raw"
perl -e 'print "\xff" x (1024 * 1024)' >"$data/gfx/m_tiles.raw"
printf 'classes\nman 16,32,1,1,100,-1,0,1,32,32,1,0,0,0,0,0\n' >"$data/map/phoebus.ent"

# A window manager's close request: WM_DELETE_WINDOW to the window titled QuarnGLX.
cat >"$work/close.c" <<'EOF'
#include <X11/Xlib.h>
#include <string.h>
int main(void) {
  Display* d = XOpenDisplay(NULL);
  Window r, p, *kids = NULL;
  unsigned n = 0;
  if (!d || !XQueryTree(d, DefaultRootWindow(d), &r, &p, &kids, &n)) return 2;
  for (unsigned i = 0; i < n; ++i) {
    char* name = NULL;
    if (!XFetchName(d, kids[i], &name) || strcmp(name, "QuarnGLX") != 0) continue;
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = kids[i];
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    XSendEvent(d, kids[i], False, NoEventMask, &e);
    XSync(d, False);
    return 0;
  }
  return 1;
}
EOF
cc -o "$work/close" "$work/close.c" -lX11 || fail "cannot build the close helper"

start_xvfb

# ---- first run: start-up, picture, keys, Escape ----------------------------------------
start_game "$data"
head -n1 "$console" | grep -qx "made sin table" || fail "first line"
in_order "made sin table" 'map map\phoebus.qnm loaded' "init map" "init particles" "init wind" \
  "init sound " "spawned class man" "loaded 1 tile tex(s)loaded mask 0" "spawning entities"
import -window root "$work/shot.png" || fail "no screenshot"
if command -v convert-im6.q16 >/dev/null; then   # the floor is in view: not black
  mean=$(convert-im6.q16 "$work/shot.png" -format '%[fx:int(mean*1000)]' info:)
  [ "$mean" -gt 20 ] || fail "the screen is dark (mean $mean/1000)"
fi
[ -n "${QUARN_SHOT:-}" ] && cp "$work/shot.png" "$QUARN_SHOT"

xdotool key 2      # main row: the editor on
sleep 0.3
xdotool key 8      # main row: save the map
sleep 0.3
[ "$(count "zoom")" -eq 0 ] || fail "the main row's 2 or 8 zoomed"
[ "$(count 'map saved to map\phoebus.qnm')" -ge 1 ] || fail "8 did not save in the editor"
cmp -s "$data/map/phoebus.qnm" "$work/map.qnm" || fail "the saved map differs from the loaded one"
xdotool key KP_Down KP_Up a   # single taps, shorter than a frame
sleep 0.5
[ "$(count "zoom in")" -ge 1 ] && [ "$(count "zoom in")" -le 2 ] || fail "keypad 2 tap: $(count "zoom in") zooms"
[ "$(count "zoom out")" -ge 1 ] || fail "a tap of keypad 8 was missed"
grep -q "^X: .* Y: " "$console" || fail "a tap of A was missed"

# F10 makes a 640 x 480 window at (32, 32); F9 after it fills the screen
# again with the whole picture at (0, 0): no black strip at the right or the
# bottom, where the floor is drawn
geometry() { xdotool search --name QuarnGLX getwindowgeometry | tr -d '\n' | sed 's/.*Position: \([0-9,-]*\).*Geometry: \([0-9x]*\).*/\1 \2/'; }
xdotool key F10
sleep 0.5
[ "$(geometry)" = "32,32 640x480" ] || fail "F10 gave the window $(geometry)"
xdotool key F9
sleep 0.5
[ "$(geometry)" = "0,0 800x600" ] || fail "F9 after F10 gave the window $(geometry)"
import -window root "$work/full.png" || fail "no screenshot after F9"
if command -v convert-im6.q16 >/dev/null; then
  for strip in 16x600+784+0 800x16+0+584; do
    mean=$(convert-im6.q16 "$work/full.png" -crop "$strip" -format '%[fx:int(mean*1000)]' info:)
    [ "$mean" -gt 20 ] || fail "F9 after F10 left a dark strip $strip (mean $mean/1000)"
  done
fi

xdotool key Escape
wait_exit "Escape"

# ---- second run: closing the window ------------------------------------------------------
start_game "$data"
"$work/close" || fail "no window titled QuarnGLX"
wait_exit "closing the window"
echo "startup: console in order, picture shown, taps and keypad keys counted, Escape and closing quit"
