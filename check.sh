#!/usr/bin/env bash
# Installs missing packages, builds everything with warnings as errors and runs
# every test; then the same again under AddressSanitizer and UBSan; then a
# minute of fuzzing per harness (tools/fuzz.sh); then the Windows builds
# (tools/check-windows.sh).
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-packages.sh

jobs=$(nproc 2>/dev/null || echo 2)
run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DSIFTERON_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j"$jobs"
  QT_QPA_PLATFORM=offscreen ctest --test-dir "$dir" --output-on-failure -j"$jobs"
}
timings=()
timed() {
  local what=$1 start=$SECONDS; shift
  "$@"
  timings+=("$what: $((SECONDS - start)) s")
}

echo "== Build and tests =="
timed "Linux build and tests" run_suite build/check
echo "== Build and tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  timed "Linux sanitizer build and tests" run_suite build/sanitize -DSIFTERON_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
echo "== Fuzzing =="
timed "Fuzzing" bash tools/fuzz.sh 60
timed "Windows builds and tests" bash tools/check-windows.sh
printf -- '-- %s\n' "${timings[@]}"
