#!/usr/bin/env bash
# Times sifteron-cli in every mode and kind against a plain 64 KiB read+write
# copy of the same file and the tools a user would otherwise reach for, on a
# generated corpus in the page cache, with every output going to a file on
# disk, and on the same corpus saved as UTF-16. Prints MB/s (median), peak RSS
# and ratios, then checks that sifteron-cli's peak RSS does not grow with the
# input. With --windows, the x86-64 sifteron-cli.exe runs under Wine in the
# same rounds, every mode, beside the Linux build.
#
#   bench/run.sh [--quick] [--runs N] [--work DIR] [--build DIR] [--cli PATH]
#                [--no-build] [--skip-memory] [--windows [EXE]]
set -euo pipefail
export LC_ALL=C # byte semantics for every peer, and their fastest path

REPO=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WORK=/tmp/sifteron-bench
BUILD=$REPO/build-bench
CLI=""
RUNS=5
TEXT_SIZE=200M
RC_SIZE=100M
MEM_SMALL=1M
MEM_LARGE=1G
BUILD_FIRST=1
MEMORY_CHECK=1
WINDOWS_CLI=""

usage() {
    sed -n '2,10p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'
    cat <<'EOF'

  --quick        smoke run: 20M text, 10M resource script, 3 runs, 1M vs 64M
  --runs N       timed runs per tool (median is reported; default 5)
  --work DIR     corpus, outputs and results (default /tmp/sifteron-bench)
  --build DIR    CMake build directory (default <repo>/build-bench)
  --cli PATH     sifteron-cli to time (default <build>/cli/sifteron-cli)
  --no-build     do not run CMake; use what is already built
  --skip-memory  leave out the 1M vs 1G peak RSS comparison
  --windows [EXE]  also time EXE under wine64 (default
                 build/windows/x86_64/cli/sifteron-cli.exe, which
                 tools/check-windows.sh builds)
EOF
}

while (($#)); do
    case $1 in
    --quick) TEXT_SIZE=20M RC_SIZE=10M MEM_LARGE=64M RUNS=3 ;;
    --runs) RUNS=$2 && shift ;;
    --work) WORK=$2 && shift ;;
    --build) BUILD=$2 && shift ;;
    --cli) CLI=$2 && shift ;;
    --no-build) BUILD_FIRST=0 ;;
    --skip-memory) MEMORY_CHECK=0 ;;
    --windows)
        WINDOWS_CLI=$REPO/build/windows/x86_64/cli/sifteron-cli.exe
        [[ ${2:-} == *.exe ]] && WINDOWS_CLI=$2 && shift
        ;;
    -h | --help) usage && exit 0 ;;
    *) usage >&2 && exit 2 ;;
    esac
    shift
done
[[ -n $CLI ]] || CLI=$BUILD/cli/sifteron-cli

say() { printf '%s\n' "$*" >&2; }

# --- tools --------------------------------------------------------------------
if [[ ! -x /usr/bin/time ]]; then
    if ((EUID == 0)); then
        say "installing the Debian package 'time' for peak RSS figures"
        apt-get install -y -qq time >/dev/null
    else
        say "/usr/bin/time is missing: run 'apt-get install time' as root, then again"
        exit 1
    fi
fi
have() { command -v "$1" >/dev/null 2>&1; }

# --- builds -------------------------------------------------------------------
mkdir -p "$WORK/bin" "$WORK/corpus" "$WORK/out" "$WORK/results"
if ((BUILD_FIRST)); then
    if [[ ! -f $BUILD/CMakeCache.txt ]]; then
        cmake -S "$REPO" -B "$BUILD" -DSIFTERON_GUI=OFF -DCMAKE_BUILD_TYPE=Release \
            >"$WORK/results/configure.log" 2>&1 || say "CMake configure failed (see $WORK/results/configure.log)"
    fi
    cmake --build "$BUILD" --target sifteron-cli -j2 >"$WORK/results/build-cli.log" 2>&1 ||
        say "building sifteron-cli failed (see $WORK/results/build-cli.log)"
fi

GEN=$BUILD/bench/sifteron-bench-corpus
COPY=$BUILD/bench/sifteron-bench-copy
if ((BUILD_FIRST)); then
    cmake --build "$BUILD" --target sifteron-bench-corpus sifteron-bench-copy -j2 \
        >"$WORK/results/build-gen.log" 2>&1 || true
fi
# The build tree may not know the bench directory (or this version of it); the
# generator and the copy are a few plain files, so build them directly.
if [[ ! -x $GEN ]]; then
    GEN=$WORK/bin/sifteron-bench-corpus
    c++ -std=c++20 -O2 -I"$REPO" "$REPO"/bench/{corpus_main,text_corpus,rc_corpus}.cpp -o "$GEN"
fi
if [[ ! -x $COPY ]]; then
    COPY=$WORK/bin/sifteron-bench-copy
    c++ -std=c++20 -O2 "$REPO"/bench/copy_main.cpp -o "$COPY"
fi

if [[ -x $CLI ]]; then
    HAVE_CLI=1
else
    HAVE_CLI=0
    say "no sifteron-cli at $CLI: timing the peers only"
fi

# --- corpus -------------------------------------------------------------------
# A corpus is reused while the generator's sources stay as they are.
GEN_SUM=$(cat "$REPO"/bench/{text_corpus.cpp,rc_corpus.cpp,word_lists.h,random_source.h,chunk_writer.h} | md5sum | cut -d' ' -f1)
corpus() { # kind size -> path
    local path=$WORK/corpus/$1-$2.${1/text/txt}
    if [[ ! -f $path || "$(cat "$path.sum" 2>/dev/null)" != "$GEN_SUM" ]]; then
        say "generating $path"
        "$GEN" "$1" "$2" "$path"
        echo "$GEN_SUM" >"$path.sum"
    fi
    echo "$path"
}
# The same text as UTF-16LE with its mark, as an editor saves it.
utf16() { # path -> path of the copy
    local path=$1.utf16
    if [[ ! -f $path || "$(cat "$path.sum" 2>/dev/null)" != "$GEN_SUM" ]]; then
        say "converting $1 to UTF-16"
        { printf '\xff\xfe' && iconv -f UTF-8 -t UTF-16LE "$1"; } >"$path"
        echo "$GEN_SUM" >"$path.sum"
    fi
    echo "$path"
}
warm() { for f; do dd if="$f" of=/dev/null bs=1M status=none; done; }
bytes() { stat -c %s "$1"; }

TEXT=$(corpus text "$TEXT_SIZE")
RC=$(corpus rc "$RC_SIZE")
TEXT16=$(utf16 "$TEXT")
RC16=$(utf16 "$RC")

# --- jobs ---------------------------------------------------------------------
# Each command writes to "$OUT" (as target or by redirection); it runs directly
# under /usr/bin/time so that the RSS is the tool's own, not a shell's. A peer
# is exact when it does the whole job (same pieces, same line ends); only those
# count as the fastest peer.
JOB=() TOOL=() INPUT=() CMD=() EXACT=()
add() { JOB+=("$1") TOOL+=("$2") INPUT+=("$3") CMD+=("$4") EXACT+=("${5:-1}"); }
T=$(printf %q "$TEXT")
R=$(printf %q "$RC")
C=$(printf %q "$CLI")
P=$(printf %q "$COPY")
T16=$(printf %q "$TEXT16")
R16=$(printf %q "$RC16")
RC_WORDS='CAPTION|CONTROL|[LRC]TEXT|POPUP|MENUITEM|PUSHBUTTON'
RC_AWK=$(printf %q "$REPO/bench/peers/rc.awk")
RC_PERL=$(printf %q "$REPO/bench/peers/rc.pl")

add "copy (text)" copy "$TEXT" "$P $T \"\$OUT\""
add "copy (rc)" copy "$RC" "$P $R \"\$OUT\""
add "cat (text)" cat "$TEXT" "cat $T > \"\$OUT\""
add "cat (rc)" cat "$RC" "cat $R > \"\$OUT\""
for mode in positive negative multiline-positive multiline-negative; do
    ((HAVE_CLI)) && add "$mode" sifteron "$TEXT" "$C --mode $mode $T \"\$OUT\""
done
((HAVE_CLI)) && add rc sifteron "$RC" "$C --kind rc $R \"\$OUT\""
# The same text saved as UTF-16, which the file layer turns into UTF-8.
for mode in positive negative multiline-positive multiline-negative; do
    ((HAVE_CLI)) && add "$mode (utf-16)" sifteron "$TEXT16" "$C --mode $mode $T16 \"\$OUT\""
done
((HAVE_CLI)) && add "rc (utf-16)" sifteron "$RC16" "$C --kind rc $R16 \"\$OUT\""

# The Windows build under Wine, in a prefix of its own whose server stays up
# between runs, so each run pays only the program's own start.
if [[ -n $WINDOWS_CLI ]]; then
    [[ -f $WINDOWS_CLI && -x /usr/lib/wine/wine64 ]] ||
        { say "--windows needs $WINDOWS_CLI and wine64" && exit 1; }
    export WINEPREFIX=$WORK/wine-prefix WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml='
    export WINELOADER=/usr/lib/wine/wine64
    trap 'wineserver -k 2>/dev/null || true' EXIT
    if [[ ! -d $WINEPREFIX ]]; then
        say "making the Wine prefix $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    $WINELOADER wineboot --init </dev/null >/dev/null 2>&1
    winpath() { printf %q "Z:${1//\//\\}"; }
    W="$WINELOADER $(winpath "$WINDOWS_CLI")"
    WOUT=$(winpath "$WORK/out/target.txt")
    for mode in positive negative multiline-positive multiline-negative; do
        add "$mode" sifteron.exe "$TEXT" "$W --mode $mode $(winpath "$TEXT") $WOUT"
    done
    add rc sifteron.exe "$RC" "$W --kind rc $(winpath "$RC") $WOUT"
fi

# grep and rg keep the quotes and end lines in LF alone: not exact.
add positive grep "$TEXT" "grep -o '\"[^\"]*\"' $T > \"\$OUT\"" 0
have rg && add positive rg "$TEXT" "rg -o '\"[^\"]*\"' $T > \"\$OUT\"" 0
add positive perl "$TEXT" "perl -ne 'print \"\$1\\r\\n\" while /\"([^\"]*)\"/g' $T > \"\$OUT\""
for awk in mawk gawk; do
    have $awk && add positive $awk "$TEXT" "$awk -F'\"' -v ORS='\\r\\n' '{for (i = 2; i < NF; i += 2) print \$i}' $T > \"\$OUT\""
done

add negative sed "$TEXT" "sed 's/\"[^\"]*\"//g' $T > \"\$OUT\""
add negative perl "$TEXT" "perl -pe 's/\"[^\"]*\"//g' $T > \"\$OUT\""
for awk in mawk gawk; do
    have $awk && add negative $awk "$TEXT" "$awk '{gsub(/\"[^\"]*\"/, \"\")} 1' $T > \"\$OUT\""
done

# Records split at every quote: the even ones lie inside a stretch.
for awk in mawk gawk; do
    have $awk && add multiline-positive $awk "$TEXT" "$awk -v RS='\"' -v ORS= 'NR % 2 == 0' $T > \"\$OUT\""
done
add multiline-positive perl "$TEXT" "perl -0042 -ne 'chomp; print if \$. % 2 == 0' $T > \"\$OUT\""
for awk in mawk gawk; do
    have $awk && add multiline-negative $awk "$TEXT" "$awk -v RS='\"' -v ORS= 'NR % 2 == 1' $T > \"\$OUT\""
done
add multiline-negative perl "$TEXT" "perl -0042 -ne 'chomp; print if \$. % 2' $T > \"\$OUT\""

# Keyword and first quoted piece in one pass (no string tables) ...
add rc grep "$RC" "grep -oE '($RC_WORDS)[^\"]*\"[^\"]*\"' $R > \"\$OUT\"" 0
have rg && add rc rg "$RC" "rg -o '($RC_WORDS)[^\"]*\"[^\"]*\"' $R > \"\$OUT\"" 0
# ... and the full job: string tables, keyword and source name beside the text.
for awk in mawk gawk; do
    have $awk && add rc $awk "$RC" "$awk -f $RC_AWK $R > \"\$OUT\""
done
add rc perl "$RC" "perl $RC_PERL $R > \"\$OUT\""

# --- timing -------------------------------------------------------------------
OUT=$WORK/out/target.txt
ERR=$WORK/out/stderr.txt
RSSF=$WORK/out/rss.txt
TIMES=$WORK/results/times.tsv
now() { date +%s%N; }

# run INDEX -> "seconds rss_kib out_bytes status"
run() {
    local cmd=${CMD[$1]} start end status=0
    rm -f "$OUT" "$ERR" "$RSSF"
    start=$(now)
    eval "/usr/bin/time -f %M -o \"\$RSSF\" $cmd 2> \"\$ERR\"" || status=$?
    end=$(now)
    printf '%d.%06d %s %s %s\n' $(((end - start) / 1000000000)) $(((end - start) / 1000 % 1000000)) \
        "$(tail -n 1 "$RSSF")" "$(bytes "$OUT" 2>/dev/null || echo 0)" "$status"
}

say "warming the page cache"
warm "$TEXT" "$RC" "$TEXT16" "$RC16"
printf 'job\ttool\tinput_bytes\trun\tseconds\trss_kib\tout_bytes\tstatus\texact\n' >"$TIMES"
STARTED=$(date +%s)
# Rounds interleave the tools, so load from elsewhere on the machine falls on
# all of them alike rather than on whichever ran at the wrong moment.
for ((round = 1; round <= RUNS; round++)); do
    for i in "${!CMD[@]}"; do
        read -r secs rss out status < <(run "$i")
        printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "${JOB[$i]}" "${TOOL[$i]}" \
            "$(bytes "${INPUT[$i]}")" "$round" "$secs" "$rss" "$out" "$status" "${EXACT[$i]}" >>"$TIMES"
        if [[ ${TOOL[$i]} == sifteron && $round == 1 ]]; then
            cp "$ERR" "$WORK/results/stderr-${JOB[$i]}.txt"
        fi
        printf '  round %d/%d  %-20s %-9s %8.3f s\n' "$round" "$RUNS" "${JOB[$i]}" "${TOOL[$i]}" "$secs" >&2
    done
done
rm -f "$OUT"

# --- memory check -------------------------------------------------------------
MEMORY=$WORK/results/memory.tsv
printf 'job\tsmall_bytes\tsmall_rss_kib\tlarge_bytes\tlarge_rss_kib\tlarge_seconds\n' >"$MEMORY"
if ((HAVE_CLI && MEMORY_CHECK)); then
    SMALL_TEXT=$(corpus text "$MEM_SMALL")
    LARGE_TEXT=$(corpus text "$MEM_LARGE")
    SMALL_RC=$(corpus rc "$MEM_SMALL")
    LARGE_RC=$(corpus rc "$MEM_LARGE")
    SMALL_TEXT16=$(utf16 "$SMALL_TEXT")
    LARGE_TEXT16=$(utf16 "$LARGE_TEXT")
    say "memory check: $MEM_SMALL against $MEM_LARGE"
    warm "$SMALL_TEXT" "$LARGE_TEXT" "$SMALL_RC" "$LARGE_RC" "$SMALL_TEXT16" "$LARGE_TEXT16"
    for job in positive negative multiline-positive multiline-negative rc positive-utf-16; do
        if [[ $job == rc ]]; then
            args="--kind rc" small=$SMALL_RC large=$LARGE_RC
        elif [[ $job == positive-utf-16 ]]; then
            args="--mode positive" small=$SMALL_TEXT16 large=$LARGE_TEXT16
        else
            args="--mode $job" small=$SMALL_TEXT large=$LARGE_TEXT
        fi
        CMD[0]="$C $args $(printf %q "$small") \"\$OUT\""
        read -r _ small_rss _ _ < <(run 0)
        CMD[0]="$C $args $(printf %q "$large") \"\$OUT\""
        read -r large_secs large_rss _ _ < <(run 0)
        printf '%s\t%s\t%s\t%s\t%s\t%s\n' "$job" "$(bytes "$small")" "$small_rss" \
            "$(bytes "$large")" "$large_rss" "$large_secs" >>"$MEMORY"
        say "  $job: $small_rss KiB against $large_rss KiB"
    done
    rm -f "$OUT"
fi

# --- report -------------------------------------------------------------------
SUMMARY=$WORK/results/summary.txt
{
    echo "sifteron-cli benchmark, $(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores, $(uname -m)"
    echo "text corpus $(bytes "$TEXT") bytes, resource corpus $(bytes "$RC") bytes, median of $RUNS runs," \
        "timed rounds took $(($(date +%s) - STARTED)) s"
    echo
    awk -F'\t' -v memory="$MEMORY" -f "$REPO/bench/summarise.awk" "$TIMES"
    if ((HAVE_CLI)); then
        echo
        echo "stderr lines of sifteron-cli (one per notice): positive $(wc -l <"$WORK/results/stderr-positive.txt")," \
            "negative $(wc -l <"$WORK/results/stderr-negative.txt"), rc $(wc -l <"$WORK/results/stderr-rc.txt")"
    fi
} | tee "$SUMMARY"
say "raw figures: $TIMES, $MEMORY; this table: $SUMMARY"
