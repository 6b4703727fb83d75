#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need (only those that
# are missing), then configures and builds into the given folder.
# usage: scripts/setup.sh BUILD_DIR [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; shift || true

need=(build-essential cmake freeglut3-dev libglu1-mesa-dev libgl-dev libx11-dev
      libopenal-dev libpng-dev libgtest-dev xvfb xauth xdotool imagemagick sox libsox-fmt-base)
bash scripts/need.sh "${need[@]}"

cmake -S . -B "$build" "$@"
cmake --build "$build" -j"$(nproc)"
