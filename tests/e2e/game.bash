# Shared by the end-to-end scripts that play the real game under a virtual X
# server; sourced, after `set -euo pipefail`, as
#   source "$(dirname "$0")/game.bash" NAME [TOOL...]
# (the TOOLs are needed beside Xvfb, xdotool, import and perl). It gives:
#   work             a fresh temporary folder; at exit the game and the server
#                    are stopped and the folder is removed
#   console          the game's console
#   fail MESSAGE     prints the message and the console, and fails the script
#   count TEXT       how often TEXT was printed (some console lines have no
#                    line break, so the next one may follow on the same line)
#   in_order LINE... the lines appear in this order (others may come between)
#   start_xvfb       a virtual X server at 800 x 600 on a display it picks
#                    itself; exports DISPLAY
#   start_game DATA [GAME [OPTION...]]
#                    the game (QUARN_BIN unless GAME names another) in the
#                    data folder, once it has spawned its entities
#   wait_exit WHAT [LAST]
#                    the game ends by itself with status 0, its shutdown lines
#                    last (or, when LAST is given, a last line that matches it)
: "${QUARN_BIN:?QUARN_BIN names the game executable}"
for tool in Xvfb xdotool import perl "${@:2}"; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done

work=$(mktemp -d "/tmp/quarn-e2e-$1-XXXXXX")
xvfb_pid="" game_pid=""
cleanup() {
  for pid in $game_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
console="$work/console.txt"
fail() { echo "FAIL: $*" >&2; echo "--- console:" >&2; cat "$console" >&2 || true; exit 1; }
count() { grep -o -F -- "$1" "$console" | wc -l; }
in_order() {
  local at=0 line n
  for line in "$@"; do
    n=$(tail -n +"$((at + 1))" "$console" | grep -n -F -m1 -- "$line" | cut -d: -f1) || true
    [ -n "$n" ] || fail "missing or out of order: $line"
    at=$((at + n))
  done
}

start_xvfb() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
}

start_game() {
  (cd "$1" && exec "${2:-$QUARN_BIN}" "${@:3}" >"$console" 2>"$work/stderr.txt") &
  game_pid=$!
  for _ in $(seq 1 100); do
    grep -q "spawning entities" "$console" 2>/dev/null && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game stopped at start-up"
    sleep 0.1
  done
  sleep 0.5
}

wait_exit() {
  local status=""
  for _ in $(seq 1 100); do
    if ! kill -0 "$game_pid" 2>/dev/null; then status=0; wait "$game_pid" || status=$?; break; fi
    sleep 0.1
  done
  [ -n "$status" ] || fail "$1 did not end the game"
  game_pid=""
  [ "$status" -eq 0 ] || fail "exit status $status after $1"
  [ "$(count "sound freed")" -eq 1 ] && [ "$(count "masks freed")" -eq 1 ] || fail "shutdown lines after $1"
  if [ -n "${2:-}" ]; then
    tail -n1 "$console" | grep -Eq -- "$2" || fail "the last line is not $2"
  else
    tail -n1 "$console" | grep -q "masks freed$" || fail "masks freed is not the last line"
  fi
}
