#!/bin/sh
# Runs every benchmark program built in the given build directory (Google Benchmark
# suites bench*), then every whole-process benchmark script bench/*.sh.
build=${1:-build/bench}
top=$(cd "$(dirname "$0")/.." && pwd)
status=0
for program in "$build"/bench/bench*; do
  [ -x "$program" ] || continue
  echo "== $(basename "$program")"
  "$program" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true || status=1
done
for script in "$top"/bench/*.sh; do
  [ -f "$script" ] || continue
  echo "== $(basename "$script")"
  sh "$script" "$build" || status=1
done
exit $status
