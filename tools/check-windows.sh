#!/usr/bin/env bash
# The Windows pass of check.sh: cross-builds both Windows architectures with
# MinGW-w64 and warnings as errors, runs each one's tests under Wine, checks
# the programs' headers, and packs one ZIP and one installer per architecture
# into build/windows/packages (tools/check-msi.sh tests the installers).
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
export WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
end_wine() { wineserver -k 2>/dev/null || true; }
trap end_wine EXIT
start_wine() {
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A server that stays up, and Wine's background programs, started with no
  # pipe of ours open: started by a test, they would hold CTest's output pipe
  # and keep CTest waiting for ever. wine64 makes a WoW64 prefix, which runs
  # 32-bit programs too (Debian's `wineboot` would start the 32-bit loader).
  wineserver -p </dev/null >/dev/null 2>&1
  WINELOADER=/usr/lib/wine/wine64 /usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
}
# A program stuck under Wine fails its test instead of holding up the run.
run_tests() {
  ctest --test-dir "$root/$1" --output-on-failure -j"$jobs" --timeout 300
}
# Why this machine cannot run 32-bit programs under Wine, if it cannot: a
# kernel without 32-bit user mode starts no 32-bit loader (Exec format error).
why_no_32_bit() {
  if [ ! -x /usr/lib/wine/wine ]; then
    echo "wine32:i386 is not installed (tools/install-packages.sh installs it)"
  elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine's kernel runs no 32-bit x86 code"
  fi
}

echo "== Windows: build-machine tools =="
timed "host tools" host_build
echo "== Windows x86-64: build =="
timed "x86-64 build" cross_build x86_64
echo "== Windows x86-64: tests under Wine =="
timed "Wine start" start_wine
timed "x86-64 tests" run_tests x86_64
echo "== Windows i686: build =="
timed "i686 build" cross_build i686
timed "header checks" eval "
  bash tools/check-pe.sh pe32+ console $root/x86_64/cli/sifteron-cli.exe &&
  bash tools/check-pe.sh pe32 console $root/i686/cli/sifteron-cli.exe &&
  bash tools/check-pe.sh pe32+ gui $root/x86_64/app/sifteron.exe &&
  bash tools/check-pe.sh pe32 gui $root/i686/app/sifteron.exe"
no_32_bit=$(why_no_32_bit)
if [ -z "$no_32_bit" ]; then
  echo "== Windows i686: tests under Wine =="
  timed "i686 tests" run_tests i686
else
  # Said loudly, never a silent pass; and the emulator must refuse, not run.
  echo "== Windows i686: tests NOT RUN: $no_32_bit =="
  status=0
  tools/wine-run.sh "$root/i686/cli/sifteron-cli.exe" --version 2>/dev/null || status=$?
  [ "$status" -eq 126 ] || { echo "tools/wine-run.sh ran a 32-bit program (status $status)" >&2; exit 1; }
  timings+=("i686 tests: NOT RUN ($no_32_bit)")
fi
echo "== Windows: packages =="
timed "ZIPs" eval "pack x86_64 && pack i686"
ls "$root"/packages/*.zip
echo "== Windows: installers, tested under Wine =="
timed "MSIs" bash tools/check-msi.sh
printf -- '-- %s\n' "${timings[@]}"
