#!/usr/bin/env bash
# The game in headless Chromium against the native game's pictures: see
# page_test.py beside this script.
set -euo pipefail
source "$(dirname "$0")/common.bash"
for tool in chromium Xvfb convert-im6.q16 python3; do
  command -v "$tool" >/dev/null || fail "missing tool: $tool"
done
work=$(mktemp -d /tmp/quarn-web-page-XXXXXX)
trap 'rm -rf "$work"' EXIT
python3 "$(dirname "$0")/page_test.py" "$web/site" "$QUARN_BUILD_DIR" "$work"
[ -z "${QUARN_PICTURES:-}" ] || cp "$work"/web-*.png "$QUARN_PICTURES"/ 2>/dev/null || true
