#!/usr/bin/env bash
# Profiles sifteron-cli with callgrind on a ~20 MB corpus, one profile per mode
# and kind, and prints the top functions of each by their own (self) cost.
#
#   bench/profile.sh [--size 20M] [--work DIR] [--cli PATH] [--top N]
set -euo pipefail

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WORK=/tmp/sifteron-bench
CLI=$REPO/build-bench/cli/sifteron-cli
SIZE=20M
TOP=12

while (($#)); do
    case $1 in
    --size) SIZE=$2 && shift ;;
    --work) WORK=$2 && shift ;;
    --cli) CLI=$2 && shift ;;
    --top) TOP=$2 && shift ;;
    *) sed -n '2,5p' "${BASH_SOURCE[0]}" >&2 && exit 2 ;;
    esac
    shift
done

command -v valgrind >/dev/null || {
    echo "valgrind is missing: apt-get install valgrind" >&2
    exit 1
}
[[ -x $CLI ]] || {
    echo "no sifteron-cli at $CLI (build it, or run bench/run.sh first)" >&2
    exit 1
}

GEN=$REPO/build-bench/bench/sifteron-bench-corpus
[[ -x $GEN ]] || GEN=$WORK/bin/sifteron-bench-corpus
if [[ ! -x $GEN ]]; then
    mkdir -p "$WORK/bin"
    c++ -std=c++20 -O2 -I"$REPO" "$REPO"/bench/{corpus_main,text_corpus,rc_corpus}.cpp -o "$GEN"
fi

DIR=$WORK/profile
mkdir -p "$DIR"
TEXT=$DIR/text-$SIZE.txt
RC=$DIR/rc-$SIZE.rc
[[ -f $TEXT ]] || "$GEN" text "$SIZE" "$TEXT"
[[ -f $RC ]] || "$GEN" rc "$SIZE" "$RC"

for job in positive negative multiline-positive multiline-negative rc; do
    if [[ $job == rc ]]; then
        args=(--kind rc "$RC")
    else
        args=(--mode "$job" "$TEXT")
    fi
    rm -f "$DIR/target.txt"
    valgrind --tool=callgrind --callgrind-out-file="$DIR/callgrind.$job" \
        "$CLI" "${args[@]}" "$DIR/target.txt" 2>"$DIR/valgrind-$job.log" >/dev/null
    echo "=== $job: $(grep -m1 -o 'Collected : [0-9]*' "$DIR/valgrind-$job.log" | cut -d' ' -f3) instructions," \
        "input $(stat -c %s "${args[-1]}") bytes"
    callgrind_annotate --auto=no "$DIR/callgrind.$job" 2>/dev/null |
        awk '/^-+$/ { dashes++; next } dashes >= 3 && NF { print }' | head -n "$TOP"
    echo
done
rm -f "$DIR/target.txt"
echo "profiles: $DIR/callgrind.*  (callgrind_annotate --inclusive=yes FILE for call trees)"
