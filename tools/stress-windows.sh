#!/usr/bin/env bash
# Runs the Windows suites of tools/check-windows.sh's build folders again and
# again while stress-ng keeps every core busy: a test that fails only under
# load shows itself here. Not part of check.sh (it takes long).
# Usage: tools/stress-windows.sh [RUNS [ARCH...]]   (20 runs of x86_64 and, where
#        32-bit code runs, i686 by default; logs in build/windows/stress)
set -uo pipefail
cd "$(dirname "$0")/.." || exit
runs=${1:-20}
shift $(($# > 0))
root=build/windows
logs=$root/stress
mkdir -p "$logs"
command -v stress-ng >/dev/null || { echo "stress-windows.sh: stress-ng is not installed" >&2; exit 2; }

export WINEPREFIX=$PWD/$root/stress-prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
stress_ng=''
end() {
  [ -z "$stress_ng" ] || kill "$stress_ng" 2>/dev/null
  wineserver -k 2>/dev/null || true
}
trap end EXIT
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1

arches=("$@")
if [ ${#arches[@]} -eq 0 ]; then
  arches=(x86_64)
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    arches+=(i686)
  else
    echo "i686: not run, this machine runs no 32-bit x86 code"
  fi
fi

stress-ng --cpu "$(nproc)" --quiet </dev/null >/dev/null 2>&1 &
stress_ng=$!
declare -A clean failed
for arch in "${arches[@]}"; do
  clean[$arch]=0
  failed[$arch]=0
done
for ((run = 1; run <= runs; run++)); do
  for arch in "${arches[@]}"; do
    log=$logs/$arch-$run.log
    start=$SECONDS
    ctest --test-dir "$root/$arch" --output-on-failure -j"$(nproc)" --timeout 300 >"$log" 2>&1
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" || echo "no summary")
    if grep -q ' 0 tests failed' <<<"$summary"; then
      clean[$arch]=$((clean[$arch] + 1))
    else
      failed[$arch]=$((failed[$arch] + 1))
    fi
    # Retries of starts that failed show only in the full log of the run.
    retried=$(grep -c 'starting it once more' "$root/$arch/Testing/Temporary/LastTest.log" 2>/dev/null)
    echo "run $run $arch: $summary ($((SECONDS - start)) s, ${retried:-0} start(s) retried)"
    grep -E '^\s+[0-9]+ - .*\((Failed|Timeout|Not Run|Exception|SEGFAULT)' "$log" | sed 's/^/    /'
  done
done
for arch in "${arches[@]}"; do
  echo "$arch: ${clean[$arch]} of $runs runs passed every test, ${failed[$arch]} had failures (logs in $logs)"
done
