#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, builds the web
# version and runs every test (the web version's in headless Chromium among
# them); then builds again with AddressSanitizer + UndefinedBehaviorSanitizer
# and runs the unit and scenario tests there too (not the long replay of the
# docs' tour).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

bash scripts/setup.sh build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUARN_WERROR=ON
bash scripts/web.sh build build-web
bash scripts/need.sh chromium
(cd build && QUARN_WEB_REQUIRED=1 ctest --output-on-failure -j"$jobs")

bash scripts/setup.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DQUARN_WERROR=ON -DQUARN_SANITIZE=ON
(cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
   ctest --output-on-failure -j"$jobs" -LE "e2e|long")
