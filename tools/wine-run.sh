#!/usr/bin/env bash
# Runs a 64-bit Windows program under Wine: the test emulator of the cross
# builds. Wine here runs only x86-64 programs; a 32-bit one would "exit 0" with
# no output and pass any test falsely, so anything else is refused.
set -euo pipefail
program=${1:?usage: wine-run.sh PROGRAM.exe [ARGS...]}
shift

# The PE header's machine field, at the offset that the DOS header holds at 0x3c.
machine_of() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  [ "$(od -An -c -j"$pe" -N4 "$1" | tr -d ' ')" = 'PE\0\0' ] || return 1
  od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' '
}
machine=$(machine_of "$program" 2>/dev/null || echo none)
if [ "$machine" != 8664 ]; then
  echo "wine-run.sh: $program is not an x86-64 Windows program (machine: $machine); refusing to run it" >&2
  exit 126
fi

if [ -z "${WINEPREFIX:-}" ]; then
  echo "wine-run.sh: set WINEPREFIX to a Wine prefix of its own (tools/check-windows.sh makes one in the build folder)" >&2
  exit 126
fi
export WINELOADER=${WINELOADER:-/usr/lib/wine/wine64}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
exec "$WINELOADER" "$program" "$@"
