#!/usr/bin/env bash
# Checks Windows programs without running them: the expected PE format, the
# expected subsystem (console or GUI), the loader's protections (ASLR with the
# relocations it needs, high-entropy ASLR on x86-64, DEP), and imports of DLLs
# that come with Windows only (the MinGW runtime must be linked in statically).
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
  pe32) magic='010b' objdump=i686-w64-mingw32-objdump protections=ASLR,DEP ;;
  pe32+) magic='020b' objdump=x86_64-w64-mingw32-objdump protections=ASLR,high-entropy-ASLR,DEP ;;
  *) echo "check-pe.sh: unknown format $want" >&2; exit 2 ;;
esac
# IMAGE_DLLCHARACTERISTICS_ bits.
declare -A protection_bit=([ASLR]=0x40 [high-entropy-ASLR]=0x20 [DEP]=0x100)
system_dlls='^(kernel32|user32|gdi32|comdlg32|comctl32|advapi32|shell32|ole32|msvcrt)\.dll$'

status=0
for exe in "$@"; do
  headers=$($objdump -p "$exe")
  fail() { echo "check-pe.sh: $exe: $*" >&2; status=1; }
  grep -Eq "^Magic[[:space:]]+$magic" <<<"$headers" || fail "not $want"
  grep -Eq "^Subsystem[[:space:]]+$subsystem" <<<"$headers" || fail "not a $kind program"
  characteristics=$(sed -n 's/^DllCharacteristics[[:space:]]*\([0-9a-fA-F]*\).*/\1/p' <<<"$headers")
  for protection in ${protections//,/ }; do
    (( 0x${characteristics:-0} & protection_bit[$protection] )) || fail "lacks $protection"
  done
  # Without base relocations the loader cannot move the program, whatever
  # the header asks for.
  grep -Eq '^[[:space:]]*[0-9]+[[:space:]]+\.reloc[[:space:]]' < <($objdump -h "$exe") || fail "has no relocations"
  while read -r dll; do
    grep -Eiq "$system_dlls" <<<"$dll" || fail "imports $dll, which Windows does not bring"
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
  [ $status -eq 0 ] && echo "$exe: $want $kind program, $protections, imports $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '\n' ' ')"
done
exit $status
