#!/usr/bin/env bash
# Builds the game for web browsers with Debian's emscripten (installed if
# missing): WEB_BUILD/site holds the page (index.html, quarn.js, quarn.wasm and
# quarn.data, the default world of the native build's NATIVE_BUILD/data), for
# any static server; WEB_BUILD/quarn-sim.js is the headless runner for node.
# Run scripts/setup.sh NATIVE_BUILD first: it generates the default world.
# usage: scripts/web.sh [NATIVE_BUILD [WEB_BUILD]]   (build, build-web)
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build}
web=${2:-build-web}
[ -f "$native/data/map/phoebus.qnm" ] ||
  { echo "no default world in $native/data: run scripts/setup.sh $native first" >&2; exit 1; }
bash scripts/need.sh emscripten
# emscripten's linker runs JavaScript tools that look for Debian's node modules
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$web" -DCMAKE_BUILD_TYPE=Release -DQUARN_WERROR=ON -DQUARN_TESTS=OFF \
  -DQUARN_WEB_WORLD="$(realpath "$native/data")" >/dev/null
cmake --build "$web" -j"$(nproc)"
