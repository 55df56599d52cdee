#!/usr/bin/env bash
# Checks Windows programs without running them: the expected PE format, the
# expected subsystem (console or GUI), and imports of DLLs that come with
# Windows only (the MinGW runtime must be linked in statically).
# Usage: check-pe.sh pe32|pe32+ console|gui PROGRAM.exe...
set -euo pipefail
usage='usage: check-pe.sh pe32|pe32+ console|gui PROGRAM.exe...'
want=${1:?$usage}
kind=${2:?$usage}
shift 2
case $kind in
  console) subsystem=00000003 ;;
  gui) subsystem=00000002 ;;
  *) echo "check-pe.sh: unknown subsystem $kind" >&2; exit 2 ;;
esac
case $want in
  pe32) magic='010b' objdump=i686-w64-mingw32-objdump ;;
  pe32+) magic='020b' objdump=x86_64-w64-mingw32-objdump ;;
  *) echo "check-pe.sh: unknown format $want" >&2; exit 2 ;;
esac
system_dlls='^(kernel32|user32|gdi32|comdlg32|comctl32|advapi32|shell32|ole32|msvcrt)\.dll$'

status=0
for exe in "$@"; do
  headers=$($objdump -p "$exe")
  fail() { echo "check-pe.sh: $exe: $*" >&2; status=1; }
  grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" || fail "not $want"
  grep -Eq "^Subsystem[[:space:]]+$subsystem" <<<"$headers" || fail "not a $kind program"
  while read -r dll; do
    grep -Eiq "$system_dlls" <<<"$dll" || fail "imports $dll, which Windows does not bring"
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
  [ $status -eq 0 ] && echo "$exe: $want $kind program, imports $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
done
exit $status
