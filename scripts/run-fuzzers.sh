#!/bin/sh
# Runs every reader's fuzz target for SECONDS seconds (default 60) on a copy of its seed
# corpus. Usage: scripts/run-fuzzers.sh BUILD_DIR [SECONDS]
# The copies and anything a target finds stay in BUILD_DIR/fuzz-work/<target>/; the seed
# corpus in tests/data/corpus/ is only read. Exits non-zero when a target found a crash, a
# hang or a broken property, and names the file that reproduces it.
set -u

if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [SECONDS]" >&2
  exit 2
fi
BUILD_DIR=$1
SECONDS_EACH=${2:-60}
SOURCE_DIR=$(cd "$(dirname "$0")/.." && pwd)
CORPUS_DIR=$SOURCE_DIR/tests/data/corpus
WORK_DIR=$BUILD_DIR/fuzz-work

# Seed corpus folder of each target.
TARGETS="fuzz_parts_def:parts_def fuzz_sections_own:sections_own fuzz_tr2:tr2 fuzz_trk:trk"

failed=0
summary=""
for pair in $TARGETS; do
  target=${pair%%:*}
  seeds=${pair#*:}
  binary=$BUILD_DIR/fuzz/$target
  if [ ! -x "$binary" ]; then
    echo "$target: not built ($binary missing)" >&2
    failed=1
    summary="$summary
$target: not built"
    continue
  fi
  work=$WORK_DIR/$target
  rm -rf "$work/corpus" "$work/findings"
  mkdir -p "$work/corpus" "$work/findings"
  cp "$CORPUS_DIR/$seeds"/* "$work/corpus/" 2>/dev/null
  log=$work/fuzz.log
  echo "== $target: $SECONDS_EACH s on $(ls "$work/corpus" | wc -l) seed files"
  # Each process writes its inputs to its own temporary file; keep them off the disk.
  "$binary" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len=16384 \
    -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  took=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log" | tail -n 1)
  if [ -z "$runs" ]; then
    runs=$(sed -n 's/^#\([0-9][0-9]*\).*/\1/p' "$log" | tail -n 1)
  fi
  line="$target: ${runs:-?} executions in ${took:-$SECONDS_EACH} s"
  if [ $status -ne 0 ]; then
    failed=1
    finding=$(ls -t "$work/findings" 2>/dev/null | head -n 1)
    line="$line - FINDING (exit $status): $work/findings/$finding"
    echo "$line"
    grep -E 'ERROR|runtime error|broken property|SUMMARY' "$log" | head -n 20
    echo "full log: $log"
  else
    echo "$line"
  fi
  summary="$summary
$line"
done

echo "== summary$summary"
exit $failed
