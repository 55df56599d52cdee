#!/usr/bin/env bash
# tools/wine-run.sh with stand-in Wine loaders: which loader each PE machine
# gets, what is refused and how, the one retry of a start that Wine failed,
# and what a silent failure leaves in the log.
set -uo pipefail
wine_run=$(cd "$(dirname "$0")/../.." && pwd)/tools/wine-run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# A file with a DOS header pointing at a PE header of the given machine.
pe() {
  local file=$1 machine=$2
  {
    printf 'MZ'
    head -c 58 /dev/zero
    printf '\x40\x00\x00\x00PE\x00\x00'
    printf "\\x${machine:2:2}\\x${machine:0:2}"
    head -c 18 /dev/zero
  } >"$file"
}
pe "$work/x64.exe" 8664
pe "$work/x86.exe" 014c
pe "$work/arm64.exe" aa64
echo 'not a program' >"$work/text.exe"

# A loader that answers --version and otherwise does what $work/script says
# for the attempt it is at; it counts its attempts in $work/attempts.
cat >"$work/loader" <<'EOF'
#!/usr/bin/env bash
[ "${1:-}" = --version ] && { [ -e "$(dirname "$0")/no-start" ] && exit 126; echo wine-8.0; exit 0; }
work=$(dirname "$0")
n=$(($(cat "$work/attempts" 2>/dev/null || echo 0) + 1))
echo "$n" >"$work/attempts"
eval "$(sed -n "${n}p" "$work/script")"
EOF
chmod +x "$work/loader"
cp "$work/loader" "$work/loader64"

# run NAME PROGRAM STDOUT-KIND SCRIPT-LINES...: runs wine-run.sh with the
# loaders and the arguments in $args; stdout to a pipe or a file; the
# script's lines are the attempts.
args=(a 'b c')
run() {
  local name=$1 program=$2 kind=$3; shift 3
  rm -f "$work/attempts" "$work/no-start"
  printf '%s\n' "$@" >"$work/script"
  status=0
  if [ "$kind" = pipe ]; then
    SIF_WINE32=$work/loader SIF_WINE64=$work/loader64 WINEPREFIX=$work \
      "$wine_run" "$work/$program" "${args[@]}" 2>"$work/stderr" | cat >"$work/stdout" || status=$?
  else
    SIF_WINE32=$work/loader SIF_WINE64=$work/loader64 WINEPREFIX=$work \
      "$wine_run" "$work/$program" "${args[@]}" 2>"$work/stderr" >"$work/stdout" || status=$?
  fi
  attempts=$(cat "$work/attempts" 2>/dev/null || echo 0)
  case_name=$name
}
expect() {
  local want_status=$1 want_attempts=$2 stderr_pattern=$3
  [ "$status" -eq "$want_status" ] || fail "$case_name: status $status, want $want_status"
  [ "$attempts" -eq "$want_attempts" ] || fail "$case_name: $attempts attempts, want $want_attempts"
  if [ -z "$stderr_pattern" ]; then
    [ ! -s "$work/stderr" ] || fail "$case_name: stderr $(cat "$work/stderr")"
  else
    grep -qE -- "$stderr_pattern" "$work/stderr" ||
      fail "$case_name: stderr lacks /$stderr_pattern/: $(cat "$work/stderr")"
  fi
}

# Each machine its loader, the arguments as given, the loader in WINELOADER.
run x86-64 x64.exe file 'echo "$0|$#|$2|$3|$WINELOADER"; exit 0'
expect 0 1 ''
[ "$(cat "$work/stdout")" = "$work/loader64|3|a|b c|$work/loader64" ] || fail "x86-64: $(cat "$work/stdout")"
run x86 x86.exe file 'echo "$0|$WINELOADER"; exit 4'
expect 4 1 ''
[ "$(cat "$work/stdout")" = "$work/loader|$work/loader" ] || fail "x86: $(cat "$work/stdout")"

# Refused, with the reason and status 126, never run.
for refused in 'arm64.exe|machine 0xaa64' 'text.exe|not a Windows program' 'missing.exe|not a Windows program'; do
  run "${refused%%|*}" "${refused%%|*}" file 'exit 0'
  expect 126 0 "${refused#*|}.*refusing to run"
done
# The loader's own refusals: one that does not start (a kernel without 32-bit
# user mode), one missing, no prefix.
refused_by() {
  case_name=$1; shift
  rm -f "$work/attempts"
  status=0
  env "$@" "$wine_run" "$work/x86.exe" 2>"$work/stderr" || status=$?
  attempts=$(cat "$work/attempts" 2>/dev/null || echo 0)
}
touch "$work/no-start"
refused_by no-32-bit-kernel SIF_WINE32="$work/loader" WINEPREFIX="$work"
expect 126 0 "does not start on this machine.*refusing"
rm "$work/no-start"
refused_by missing-loader SIF_WINE32="$work/none" WINEPREFIX="$work"
expect 126 0 "needs $work/none \(Debian package wine32:i386\)"
refused_by no-prefix SIF_WINE32="$work/loader" WINEPREFIX=
expect 126 0 "WINEPREFIX is not set"

# A start that Wine failed is tried once more and said so; the program's own
# failure is not.
for start_failure in 'wine client error:0: write: Bad file descriptor' \
  'wine: could not load kernel32.dll, status c0000135' 'wineserver: could not lock'; do
  run "retried: $start_failure" x64.exe pipe "echo '$start_failure' >&2; exit 1" 'echo ran; exit 0'
  expect 0 2 'starting it once more'
  [ "$(cat "$work/stdout")" = ran ] || fail "$case_name: stdout $(cat "$work/stdout")"
done
run "failed twice" x86.exe pipe "echo 'wine client error:0: x' >&2; exit 1" \
  "echo 'wine client error:0: y' >&2; exit 2" 'exit 0'
expect 2 2 'client error:0: y'
run "program's own failure" x64.exe pipe 'echo out; echo "wine: Unhandled page fault" >&2; exit 3'
expect 3 1 'Unhandled page fault'
grep -q 'once more\|written nothing' "$work/stderr" && fail "$case_name: $(cat "$work/stderr")"

# Wine's loader killed by SIGSEGV or SIGBUS (after the program's own output,
# as seen at a 32-bit test's exit) is tried once more; other signals are not.
for crash in 'kill -SEGV $$' 'kill -BUS $$'; do
  run "loader crash: $crash" x86.exe pipe 'echo "[  PASSED  ] 1 test."; '"$crash" 'echo ran; exit 0'
  expect 0 2 "loader crashed.*status 1(39|35).*once more"
done
run "loader crashed twice" x86.exe pipe 'kill -SEGV $$' 'kill -SEGV $$' 'exit 0'
expect 139 2 'loader crashed'
run "loader terminated" x64.exe pipe 'echo out; kill -TERM $$' 'exit 0'
expect 143 1 'Terminated'
grep -q 'once more' "$work/stderr" && fail "$case_name: $(cat "$work/stderr")"

# Silent death: into a test's log goes the status; a file as stdout (the
# Linux comparison reads stderr byte by byte) gets nothing added.
run "silent death" x64.exe pipe 'exit 5'
expect 5 1 'ended with status 5 after [0-9.]+ s having written nothing to stdout'
run "silent failure, stdout a file" x64.exe file 'exit 1'
expect 1 1 ''

# A GoogleTest program that failed before printing never reached its tests:
# tried once more. Once it printed, its failure is its own.
args=(--gtest_filter=A.B)
run "test program, silent" x64.exe pipe 'exit 1' 'echo "[==========]"; exit 0'
expect 0 2 'status 1 after [0-9.]+ s before GoogleTest printed anything.*once more'
run "test program, silent twice" x64.exe pipe 'exit 1' 'exit 1' 'exit 0'
expect 1 2 'having written nothing to stdout'
run "test program, failed test" x64.exe pipe 'echo "[  FAILED  ]"; exit 1' 'exit 0'
expect 1 1 ''
args=(a 'b c')

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
