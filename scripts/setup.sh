#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need (only those that
# are missing), then configures and builds into the given folder.
# usage: scripts/setup.sh BUILD_DIR [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}; shift || true

need=(build-essential cmake freeglut3-dev libglu1-mesa-dev libgl-dev libx11-dev
      libopenal-dev libgtest-dev xvfb xauth xdotool imagemagick sox libsox-fmt-base)
missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi

cmake -S . -B "$build" "$@"
cmake --build "$build" -j"$(nproc)"
