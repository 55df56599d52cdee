#!/usr/bin/env bash
# Builds the libFuzzer harnesses of fuzz/ with clang and runs each for a
# bounded time: tools/fuzz.sh [SECONDS per harness, default 60].
# What a harness learns stays in build/fuzz/corpus/, so longer runs by hand go
# on from there; an input that breaks a check or trips a sanitizer lands in
# build/fuzz/findings/ and ends the script with status 1.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
dir=build/fuzz
harnesses=(line_operation stream_filter)

cmake -S . -B "$dir" -DCMAKE_CXX_COMPILER=clang++ -DSIFTERON_FUZZ=ON -DSIFTERON_WERROR=ON \
  -DSIFTERON_GUI=OFF -DBUILD_TESTING=OFF >/dev/null
cmake --build "$dir" -j"$(nproc 2>/dev/null || echo 2)" \
  --target "${harnesses[@]/#/fuzz_}" >/dev/null

# The scratch source and target are rewritten for every input: keep them in
# memory where there is a tmpfs.
scratch=${TMPDIR:-/tmp}
[ -d /dev/shm ] && [ -w /dev/shm ] && scratch=/dev/shm

mkdir -p "$dir/findings"
for h in "${harnesses[@]}"; do
  mkdir -p "$dir/corpus/$h"
  log=$dir/$h.log
  # New inputs go to the first directory; the seeds in the repository stay.
  if ! TMPDIR=$scratch UBSAN_OPTIONS=print_stacktrace=1 "$dir/fuzz/fuzz_$h" \
      -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$dir/findings/$h-" "$dir/corpus/$h" "fuzz/corpus/$h" >"$log" 2>&1; then
    tail -n 60 "$log"
    echo "fuzz_$h found a fault; the input is in $dir/findings/ (run it: $dir/fuzz/fuzz_$h FILE)"
    exit 1
  fi
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -n 1)
  echo "fuzz_$h: $execs runs in $seconds s ($rate/s), $cov, no findings"
done
