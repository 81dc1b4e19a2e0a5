#!/bin/bash
# make fuzz: builds every fuzz target (each fuzz/fuzz*.cpp) with libFuzzer over the whole
# instrumented library (preset fuzz), runs each for FUZZ_SECONDS (default 600), FUZZ_JOBS
# at a time (default 2), and prints per target the executions per second, the total
# executions, the edges covered and the peak memory. Any crashing, leaking or hanging
# input is copied into the target's seed corpus (fuzz/corpus/<target>/) as a regression
# case. Then the seed and the fuzzed corpora are replayed by the coverage build (preset
# fuzz-coverage) and the line coverage of formats/ is printed. Finally the converter runs
# under valgrind (scripts/valgrindConverter.sh).
#
#   FUZZ_SECONDS=60 FUZZ_TARGETS="fuzzMrc fuzzSal" scripts/fuzz.sh
#
# Limits of every run: inputs of at most 32768 bytes; allocations beyond 64 MiB (an image
# of 16 M samples) fail (ASan's max_allocation_size_mb with allocator_may_return_null:
# the readers refuse such an image with their "Not enough memory" message), which keeps
# each run short; a successful allocation beyond 96 MiB, a resident size beyond 1024 MiB
# or an input taking more than 60 s (the machine is shared) is a failure.
set -u
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-600}
jobs=${FUZZ_JOBS:-2}
work=build/fuzz-run
fuzzArgs=(-max_len=32768 -rss_limit_mb=1024 -malloc_limit_mb=96 -timeout=60 -close_fd_mask=1
          -print_final_stats=1)
export ASAN_OPTIONS=allocator_may_return_null=1:max_allocation_size_mb=64:detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

allTargets=$(for f in fuzz/fuzz*.cpp; do basename "$f" .cpp; done)
targets=${FUZZ_TARGETS:-$allTargets}

cmake --preset fuzz >/dev/null || exit 1
# shellcheck disable=SC2086
nice cmake --build --preset fuzz --target $targets || exit 1

# One target's run: a working corpus (new inputs land there, the seeds stay untouched),
# its log, and its artifacts.
runTarget() {
  local t=$1
  mkdir -p "$work/corpus/$t" "$work/artifacts/$t"
  nice build/fuzz/fuzz/"$t" "${fuzzArgs[@]}" -max_total_time="$seconds" \
    -artifact_prefix="$work/artifacts/$t/" "$work/corpus/$t" "fuzz/corpus/$t" >"$work/$t.log" 2>&1
  echo "$t finished (status $?)"
}

rm -rf "$work/artifacts"
mkdir -p "$work"
echo "Fuzzing $(echo $targets | wc -w) targets for ${seconds}s each, $jobs at a time"
running=0
for t in $targets; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n
    running=$((running - 1))
  fi
  runTarget "$t" &
  running=$((running + 1))
done
wait

# The figures of each run, from libFuzzer's final statistics and its last status line.
failed=0
printf '\n%-14s %10s %12s %8s %8s %9s\n' target "execs/s" "total execs" edges features "peak MiB"
for t in $targets; do
  log=$work/$t.log
  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
  printf '%-14s %10s %12s %8s %8s %9s\n' "$t" "$(stat average_exec_per_sec)" \
    "$(stat number_of_executed_units)" "${cov:-?}" "${ft:-?}" "$(stat peak_rss_mb)"
  for a in "$work/artifacts/$t"/*; do
    [ -e "$a" ] || continue
    case $(basename "$a") in
      slow-unit-*) continue ;;
    esac
    cp "$a" "fuzz/corpus/$t/regression-$(basename "$a")"
    echo "  $t: $(basename "$a") kept as fuzz/corpus/$t/regression-$(basename "$a"); see $log"
    failed=1
  done
done

# Line coverage of formats/ over the seed and the fuzzed corpora of every target (also
# those not run this time). The replays run under a 1 GiB address-space limit.
cov=build/fuzz-coverage
cmake --preset fuzz-coverage >/dev/null || exit 1
# shellcheck disable=SC2086
nice cmake --build --preset fuzz-coverage --target $allTargets >/dev/null || exit 1
rm -rf "$cov/profiles"
mkdir -p "$cov/profiles"
objects=()
for t in $allTargets; do
  mkdir -p "$work/corpus/$t"
  (ulimit -v 1048576
   LLVM_PROFILE_FILE="$cov/profiles/$t-%p.profraw" nice "$cov/fuzz/$t" "fuzz/corpus/$t" "$work/corpus/$t" \
     >/dev/null 2>&1)
  objects+=(-object "$cov/fuzz/$t")
done
llvm-profdata-14 merge -sparse "$cov"/profiles/*.profraw -o "$cov/profiles/merged.profdata" || exit 1
echo
echo "Line coverage of formats/ (seed and fuzzed corpora):"
llvm-cov-14 report -show-branch-summary=false -instr-profile "$cov/profiles/merged.profdata" "${objects[@]:1}" \
  formats/*.cpp | awk '/\.cpp|TOTAL/ { print $1, "lines", $(NF-2), "missed", $(NF-1), "covered", $NF }' | column -t

echo
scripts/valgrindConverter.sh build/release || failed=1
exit $failed
