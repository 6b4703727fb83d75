# Shared by the end-to-end scripts (sourced, not run: only *.sh files are
# tests): `source common.bash NAME TOOLS...` checks that the tools are there
# and makes a scratch folder $work, removed at exit together with the virtual
# X server and the game if they were started; $console is where the game's
# console goes.
for tool in "${@:2}"; do
  command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
done
work=$(mktemp -d "/tmp/quarn-e2e-$1-XXXXXX")
xvfb_pid="" game_pid=""
console="$work/console.txt"
cleanup() {
  for pid in $game_pid $xvfb_pid; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; echo "--- console:" >&2; cat "$console" >&2 || true; exit 1; }

# A virtual X server on a display it picks itself; DISPLAY names it.
start_xvfb() {
  Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$work/display")"
}

# Starts the game GAME in FOLDER and waits until its start-up is through.
# usage: start_game FOLDER GAME
start_game() {
  (cd "$1" && exec "$2" >"$console" 2>"$work/stderr.txt") &
  game_pid=$!
  for _ in $(seq 1 100); do
    grep -q "spawning entities" "$console" 2>/dev/null && break
    kill -0 "$game_pid" 2>/dev/null || fail "the game stopped at start-up"
    sleep 0.1
  done
  sleep 0.5
}
