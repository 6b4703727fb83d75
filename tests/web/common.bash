# Shared by the tests of the web build; sourced after `set -euo pipefail`.
# The web build (scripts/web.sh) lies in QUARN_WEB_DIR, by default build-web
# beside the sources. When it is missing the test is skipped (exit code 77),
# unless QUARN_WEB_REQUIRED is set, as scripts/test.sh does: then it fails.
: "${QUARN_BUILD_DIR:?QUARN_BUILD_DIR names the native build folder}"
: "${QUARN_SOURCE_DIR:?QUARN_SOURCE_DIR names the source folder}"
web=${QUARN_WEB_DIR:-$QUARN_SOURCE_DIR/build-web}
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ ! -f "$web/quarn-sim.js" ] || [ ! -f "$web/site/quarn.wasm" ]; then
  [ -n "${QUARN_WEB_REQUIRED:-}" ] && fail "no web build in $web (scripts/web.sh)"
  echo "skipped: no web build in $web (scripts/web.sh builds it)"
  exit 77
fi
[ -f "$QUARN_BUILD_DIR/data/map/phoebus.qnm" ] || fail "missing default world"
