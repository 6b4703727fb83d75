#!/usr/bin/env bash
# The real game's keyboard and window: short taps count, the numeric keypad's
# 2 and 8 (zoom) are not the main row's 2 and 8; closing the window shuts the
# game down like the quit key (sound freed, masks freed, status 0).
set -euo pipefail

: "${QUARN_BIN:?QUARN_BIN names the game executable}"
for tool in Xvfb xdotool cc; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d /tmp/quarn-e2e-keys-XXXXXX)
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
count() { grep -c -x -F -- "$1" "$work/console.txt" || true; }

# A window manager's close request: WM_DELETE_WINDOW to the window titled QuarnGLX.
cat > "$work/close.c" <<'EOF'
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <stdio.h>
#include <string.h>
int main(void) {
  Display* d = XOpenDisplay(NULL);
  if (!d) return 2;
  Window root = DefaultRootWindow(d), r, p, *kids = NULL;
  unsigned n = 0;
  XQueryTree(d, root, &r, &p, &kids, &n);
  for (unsigned i = 0; i < n; ++i) {
    char* name = NULL;
    if (XFetchName(d, kids[i], &name) && name && strcmp(name, "QuarnGLX") == 0) {
      XEvent e;
      memset(&e, 0, sizeof e);
      e.xclient.type = ClientMessage;
      e.xclient.window = kids[i];
      e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
      e.xclient.format = 32;
      e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
      e.xclient.data.l[1] = CurrentTime;
      XSendEvent(d, kids[i], False, NoEventMask, &e);
      XSync(d, False);
      XCloseDisplay(d);
      return 0;
    }
  }
  return 1;
}
EOF
cc -o "$work/close" "$work/close.c" -lX11 || fail "cannot build the close helper"

# ---- a virtual X server on a display it picks itself --------------------------------
Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 1 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
display=":$(head -n1 "$work/display")"
export DISPLAY=$display

# ---- start the game in an empty data folder ------------------------------------------
mkdir -p "$work/data"
(cd "$work/data" && exec "$QUARN_BIN" >"$work/console.txt" 2>"$work/stderr.txt") &
game_pid=$!
for _ in $(seq 1 100); do
  grep -q "loaded 1 tile tex(s)" "$work/console.txt" 2>/dev/null && break
  kill -0 "$game_pid" 2>/dev/null || fail "the game stopped at start-up"
  sleep 0.1
done
sleep 0.5

# The main row's 2 and 8 do not zoom; one short tap of keypad 2 or 8 does.
xdotool key 2 8
sleep 0.5
[ "$(count "zoom in")" -eq 0 ] || fail "the main row's 2 zoomed in"
[ "$(count "zoom out")" -eq 0 ] || fail "the main row's 8 zoomed out"
xdotool key KP_Down
sleep 0.5
[ "$(count "zoom in")" -ge 1 ] || fail "a tap of keypad 2 was missed"
[ "$(count "zoom in")" -le 2 ] || fail "a tap of keypad 2 zoomed $(count "zoom in") times"
xdotool key KP_Up
sleep 0.5
[ "$(count "zoom out")" -ge 1 ] || fail "a tap of keypad 8 was missed"
# a letter: A reports the player's tile
xdotool key a
sleep 0.5
grep -q "^X: .* Y: " "$work/console.txt" || fail "the A key was missed"

# ---- close the window ----------------------------------------------------------------
"$work/close" || fail "no window titled QuarnGLX"
status=""
for _ in $(seq 1 100); do
  if ! kill -0 "$game_pid" 2>/dev/null; then
    status=0
    wait "$game_pid" || status=$?
    break
  fi
  sleep 0.1
done
[ -n "$status" ] || fail "closing the window did not end the game"
game_pid=""
[ "$status" -eq 0 ] || fail "exit status $status"
[ "$(count "sound freed")" -eq 1 ] || fail "sound freed printed $(count "sound freed") times"
[ "$(count "masks freed")" -eq 1 ] || fail "masks freed printed $(count "masks freed") times"
tail -n1 "$work/console.txt" | grep -qx "masks freed" || fail "masks freed is not the last line"
echo "app_keys_close: taps counted, keypad apart from the main row, closing the window quits"
