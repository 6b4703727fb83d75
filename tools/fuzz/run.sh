#!/usr/bin/env bash
# Runs fuzz targets one after another, two at a time, each for a fixed time.
# usage: tools/fuzz/run.sh BUILD_DIR WORK_DIR SECONDS TARGET...
#   BUILD_DIR: a build configured with QUARN_FUZZ=ON (clang, sanitizers)
#   WORK_DIR:  gets seeds/, corpus/<target>/, crashes/<target>/ and logs/<target>.log
# Seeds come from make_seeds.py, with the default world of BUILD_DIR/data
# (or of QUARN_FUZZ_DATA) when that folder exists. The run's figures are in
# the last lines of each log.
set -uo pipefail
build=$(realpath "$1"); work=$(realpath -m "$2"); secs=$3; shift 3
here=$(dirname "$(realpath "$0")")
mkdir -p "$work"/{seeds,corpus,crashes,logs}
data=${QUARN_FUZZ_DATA:-$build/data}
if [ -d "$data" ]; then
  python3 "$here/make_seeds.py" "$work/seeds" "$data"
else
  python3 "$here/make_seeds.py" "$work/seeds"
fi

run_one() {
  local t=$1
  mkdir -p "$work/corpus/$t" "$work/crashes/$t" "$work/seeds/$t"
  local dict=()
  [ -f "$here/$t.dict" ] && dict=(-dict="$here/$t.dict")
  (cd "$work/crashes/$t" && nice -n 10 "$build/tools/fuzz/fuzz_$t" \
     -max_total_time="$secs" -rss_limit_mb=2048 -timeout=30 -print_final_stats=1 \
     -artifact_prefix="$work/crashes/$t/" "${dict[@]}" \
     "$work/corpus/$t" "$work/seeds/$t") > "$work/logs/$t.log" 2>&1
  echo "$t: exit $? $(grep -E '^stat::number_of_executed_units' "$work/logs/$t.log")"
}

while [ $# -gt 0 ]; do
  run_one "$1" &
  if [ $# -gt 1 ]; then run_one "$2" & fi
  wait
  shift; [ $# -gt 0 ] && shift
done
