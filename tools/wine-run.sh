#!/usr/bin/env bash
# Runs a Windows program under Wine: the test emulator of the cross builds.
# The PE header's machine field picks Wine's loader: wine64 for x86-64, the
# 32-bit wine (Debian's wine32:i386) for x86; one prefix made by wine64 serves
# both. What no loader here can run is refused with status 126: run anyway,
# it would "exit 0" with no output and pass a test falsely.
# A start that Wine itself fails (its server, its prefix: the program never
# ran), a GoogleTest program that fails before it printed anything, and a run
# whose loader crashed (SIGSEGV, SIGBUS) are tried once more, and said so. A program that ends in failure having
# written nothing leaves its status in the log beside Wine's own messages.
set -uo pipefail
program=${1:?usage: wine-run.sh PROGRAM.exe [ARGS...]}
shift

refuse() {
  echo "wine-run.sh: $*; refusing to run $program" >&2
  exit 126
}

# The PE header's machine field, at the offset that the DOS header holds at 0x3c.
machine_of() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  [ -n "$pe" ] && [ "$(od -An -c -j"$pe" -N4 "$1" | tr -d ' ')" = 'PE\0\0' ] || return 1
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}
machine=$(machine_of "$program" 2>/dev/null) || refuse "not a Windows program"
case $machine in
  8664) loader=${SIF_WINE64:-/usr/lib/wine/wine64} width=x86-64 package=wine64 ;;
  014c) loader=${SIF_WINE32:-/usr/lib/wine/wine} width="32-bit x86" package=wine32:i386 ;;
  *) refuse "a Windows program for machine 0x$machine, which Wine here does not run" ;;
esac
[ -x "$loader" ] || refuse "an $width program needs $loader (Debian package $package)"
# A kernel without 32-bit user mode starts no 32-bit loader (Exec format error).
"$loader" --version >/dev/null 2>&1 ||
  refuse "$loader, which runs $width programs, does not start on this machine (status $?)"
[ -n "${WINEPREFIX:-}" ] ||
  refuse "WINEPREFIX is not set: give Wine a prefix of its own (tools/check-windows.sh makes one)"
export WINELOADER=$loader
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

work=$(mktemp -d "${TMPDIR:-/tmp}/wine-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Waits, a few seconds at most, for a copying process to have copied all.
drain() {
  local pid=$1 deadline=$((SECONDS + 5))
  while kill -0 "$pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.02
  done
}

# Runs the program once. Its stderr goes on as it comes and is kept; so is
# its stdout when that is a pipe (a test's log), where nothing changes for
# the program: it writes to a pipe either way.
run_once() {
  local status=0 err_pid out_pid=''
  : >"$work/stderr"
  : >"$work/stdout"
  exec {err}> >(exec tee "$work/stderr" >&2)
  err_pid=$!
  if [ -p /dev/stdout ]; then
    exec {out}> >(exec tee "$work/stdout")
    out_pid=$!
  else
    exec {out}>&1
  fi
  "$loader" "$program" "$@" 2>&"$err" 1>&"$out" || status=$?
  exec {err}>&- {out}>&-
  drain "$err_pid"
  [ -z "$out_pid" ] || drain "$out_pid"
  return "$status"
}

# Wine's own words for a start that never reached the program: no server, a
# prefix it cannot use, a system DLL or memory it could not load or map.
wine_failed_start() {
  grep -qE '^(wine client error|wineserver: |wine: (could not (load|connect|create|exec|map|start)|failed to))' \
    "$work/stderr"
}

# A GoogleTest program prints before it does anything else: one that failed
# having printed nothing never reached its tests, whatever Wine said or not.
gtest=no
for arg in "$@"; do
  case $arg in --gtest_*) gtest=yes ;; esac
done
wrote_nothing() { [ -p /dev/stdout ] && [ ! -s "$work/stdout" ]; }
since() { awk -v a="$1" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.2f", b - a }'; }

started=$EPOCHREALTIME
status=0
run_once "$@" || status=$?
retry=no
if [ "$status" -ne 0 ] && wine_failed_start; then
  echo "wine-run.sh: Wine failed to start $program (status $status, its message above); starting it once more" >&2
  retry=yes
elif [ "$status" -eq 139 ] || [ "$status" -eq 135 ]; then
  # The loader itself died of SIGSEGV or SIGBUS: a fault in the program is
  # caught by Wine and ends it with the exception's code, never this way.
  # Seen under load at the exit of a 32-bit test that had passed.
  echo "wine-run.sh: Wine's loader crashed running $program (status $status) after $(since "$started") s; starting it once more" >&2
  retry=yes
elif [ "$status" -ne 0 ] && [ $gtest = yes ] && wrote_nothing; then
  echo "wine-run.sh: $program ended with status $status after $(since "$started") s before GoogleTest printed anything (Wine's messages, if any, are above); starting it once more" >&2
  retry=yes
fi
if [ $retry = yes ]; then
  started=$EPOCHREALTIME
  status=0
  run_once "$@" || status=$?
fi
if [ "$status" -ne 0 ] && wrote_nothing; then
  echo "wine-run.sh: $program ended with status $status after $(since "$started") s having written nothing to stdout; Wine's messages, if any, are above" >&2
fi
exit "$status"
