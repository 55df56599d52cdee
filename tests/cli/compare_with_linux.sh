#!/usr/bin/env bash
# Runs the Linux sifteron-cli and sifteron-cli.exe (under Wine) on the same
# cases and compares what each left behind: the target's bytes, stdout, the
# stderr lines and the exit status. The cases are the behaviour both promise
# alike; what differs by design (devices, letter case, long names, symbolic
# links, pipes, signals) has its own tests on each side. So does the same
# file through a standard stream: Wine cannot tell which file a stream is
# that a Unix shell opened, so cli_windows_test hands the program Windows
# handles instead.
# Usage: compare_with_linux.sh LINUX_CLI WINDOWS_CLI
set -euo pipefail
linux_cli=${1:?usage: compare_with_linux.sh LINUX_CLI WINDOWS_CLI}
windows_cli=${2:?usage: compare_with_linux.sh LINUX_CLI WINDOWS_CLI}
wine_run=$(cd "$(dirname "$0")/../.." && pwd)/tools/wine-run.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# Runs one program in a fresh folder prepared by `setup` and records the result.
# Standard input is the case folder's file $stdin_file, or /dev/null.
run_one() {
  local dir=$1 setup=$2; shift 2
  mkdir -p "$dir"
  (cd "$dir" && eval "$setup")
  local status=0
  (cd "$dir" && "$@" >.stdout 2>.stderr <"${stdin_file:-/dev/null}") || status=$?
  echo "$status" >"$dir/.status"
}

# compare NAME SETUP ARGS...: SETUP is shell run in the case's folder first.
compare() {
  local name=$1 setup=$2; shift 2
  run_one "$work/$name/linux" "$setup" "$linux_cli" "$@"
  run_one "$work/$name/windows" "$setup" "$wine_run" "$windows_cli" "$@"
  if diff -r "$work/$name/linux" "$work/$name/windows" >"$work/$name.diff"; then
    echo "same: $name"
  else
    echo "DIFFERENT: $name ($*)"
    cat "$work/$name.diff"
    for f in .status .stdout .stderr; do
      for side in linux windows; do
        printf '  %s %s: ' "$side" "$f"; od -c "$work/$name/$side/$f" | head -5
      done
    done
    failures=$((failures + 1))
  fi
}

src='printf "<a href=\"x.html\">\"quoted\"</a>\r\nline \"two\" end\r\n" >src.txt'
compare create "$src" src.txt out.txt
compare append "$src; printf 'old\r\n' >out.txt" src.txt out.txt
compare negative "$src" --mode negative src.txt out.txt
compare multiline-positive 'printf "a \"x\r\ny\" b" >src.txt' --mode=multiline-positive src.txt out.txt
compare multiline-negative-english 'printf "a \"x\r\ny\" b" >src.txt' \
  --mode multiline-negative --english src.txt out.txt
compare parentheses 'printf "f(a) g(b)\r\n" >src.txt' --left '(x' --right ')' src.txt out.txt
compare nul-delimiters 'printf "a\0in\0b" >src.txt' --left '' --right '' --mode multiline-positive \
  src.txt out.txt
compare resource-script 'printf "  DEFPUSHBUTTON \"OK\",IDOK\r\n  CAPTION \"Title\"\r\n" >src.rc' \
  --kind rc src.rc out.txt
compare list-english 'printf "\"1\"\r\n" >one.txt; printf "one.txt\nmissing.txt\n" >Liste.txt' \
  --english '#LISTE#' out.txt
compare missing-list '' '#Liste#' out.txt
compare missing-source '' missing.txt out.txt
compare same-name "$src" out.txt out.txt
compare same-file-other-spelling "$src" --mode negative src.txt ./src.txt
compare directory-target "$src; mkdir dir" src.txt dir
compare target-in-missing-folder "$src" src.txt nowhere/out.txt
compare no-names ''
compare unknown-option '' --fast s t
compare version '' --version
compare dash-dash 'printf "\"x\"\r\n" >./--odd' -- --odd out.txt
compare abbreviated "$src" --mo negative --eng src.txt out.txt
compare options-after-names "$src" src.txt out.txt --mode=negative --english
compare dash-dash-after-names "$src" src.txt -- --out.txt
compare short-version '' -V
compare version-after-names '' s t -V --help
compare extra-operand '' s t u
compare missing-value '' s t --left
compare value-for-a-flag '' --english=yes s t
compare prefix-of-every-option '' --=x s t
compare unknown-short-option '' -x s t
compare unknown-kind '' --kind=dlg s t
stdin_file=src.txt compare stdin-to-file "$src" - out.txt
stdin_file=src.rc compare stdin-to-stdout 'printf "  CAPTION \"Title\"\r\n" >src.rc' --kind rc - -
compare file-to-stdout "$src" src.txt -

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) differ between Linux and Windows"
  exit 1
fi
