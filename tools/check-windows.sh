#!/usr/bin/env bash
# The Windows pass of check.sh: cross-builds both Windows architectures with
# MinGW-w64 and warnings as errors, runs the x86-64 tests under Wine, checks
# the programs' headers (Wine here cannot run 32-bit programs), and packs one
# ZIP per architecture into build/windows/packages.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc 2>/dev/null || echo 2)
root=build/windows
timings=()
timed() {
  local what=$1 start=$SECONDS; shift
  "$@"
  timings+=("$what: $((SECONDS - start)) s")
}

# The build machine's own programs: the resource compiler that the cross
# builds run, and the Linux command line that the x86-64 tests compare with.
host_build() {
  cmake -S . -B "$root/host" -DSIFTERON_GUI=OFF -DSIFTERON_BENCH=OFF -DSIFTERON_WERROR=ON >/dev/null
  cmake --build "$root/host" -j"$jobs" --target sif_rcc sifteron-cli
}

cross_build() {
  local arch=$1
  cmake -S . -B "$root/$arch" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchains/$arch-w64-mingw32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DSIFTERON_WERROR=ON -DSIFTERON_GUI=ON -DSIFTERON_BENCH=OFF \
    -DSIF_RCC_EXECUTABLE="$PWD/$root/host/tools/rcc/sif_rcc" \
    -DSIF_LINUX_CLI="$PWD/$root/host/cli/sifteron-cli" >/dev/null
  cmake --build "$root/$arch" -j"$jobs"
}

pack() {
  cpack --config "$root/$1/CPackConfig.cmake" -B "$root/packages" >/dev/null
}

# A prefix of this run's own, and its server ended whatever happens.
export WINEPREFIX=$PWD/$root/wine-prefix
export WINELOADER=/usr/lib/wine/wine64 WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
end_wine() { wineserver -k 2>/dev/null || true; }
trap end_wine EXIT
start_wine() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A server that stays up, and Wine's background programs, started with no
  # pipe of ours open: started by a test, they would hold CTest's output pipe
  # and keep CTest waiting for ever.
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot --init </dev/null >/dev/null 2>&1
}

echo "== Windows: build-machine tools =="
timed "host tools" host_build
echo "== Windows x86-64: build =="
timed "x86-64 build" cross_build x86_64
echo "== Windows x86-64: tests under Wine =="
timed "Wine start" start_wine
# A program stuck under Wine fails its test instead of holding up the run.
timed "x86-64 tests" ctest --test-dir "$root/x86_64" --output-on-failure -j"$jobs" --timeout 300
echo "== Windows i686: build (not run: Wine here runs 64-bit programs only) =="
timed "i686 build" cross_build i686
echo "== Windows: program headers and packages =="
# A 32-bit program must be refused, never "run" to a false pass.
refuses_32_bit() {
  local status=0
  tools/wine-run.sh "$root/i686/cli/sifteron-cli.exe" --version 2>/dev/null || status=$?
  [ "$status" -eq 126 ] || { echo "tools/wine-run.sh ran a 32-bit program (status $status)" >&2; return 1; }
}
timed "header checks" eval "
  bash tools/check-pe.sh pe32+ console $root/x86_64/cli/sifteron-cli.exe &&
  bash tools/check-pe.sh pe32 console $root/i686/cli/sifteron-cli.exe &&
  bash tools/check-pe.sh pe32+ gui $root/x86_64/app/sifteron.exe &&
  bash tools/check-pe.sh pe32 gui $root/i686/app/sifteron.exe && refuses_32_bit"
timed "ZIPs" eval "pack x86_64 && pack i686"
ls "$root"/packages/*.zip
printf -- '-- %s\n' "${timings[@]}"
