# Turns bench/run.sh's times.tsv (and memory.tsv, given as -v memory=FILE) into
# the table of medians and the check of the targets. Portable awk (no asort).

function median(list,    n, v, i, j, t) {
    n = split(list, v, " ")
    for (i = 2; i <= n; i++)
        for (j = i; j > 1 && v[j - 1] + 0 > v[j] + 0; j--) {
            t = v[j]; v[j] = v[j - 1]; v[j - 1] = t
        }
    return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
}

# Median over the rounds of a's speed relative to b's in the same round: load
# from elsewhere drifts between rounds, and this keeps it out of the ratios.
function ratio(a, b,    r, list) {
    list = ""
    for (r = 1; r <= maxrun; r++)
        if ((a, r) in took && (b, r) in took)
            list = list " " (input[a] / took[a, r]) / (input[b] / took[b, r])
    return median(list)
}

# Median over the rounds of how much faster b took than a: for the same text
# in two files of different sizes.
function time_ratio(a, b,    r, list) {
    list = ""
    for (r = 1; r <= maxrun; r++)
        if ((a, r) in took && (b, r) in took)
            list = list " " took[b, r] / took[a, r]
    return median(list)
}

# The plain read+write copy of the job's input.
function copy_key(job) { return (job ~ /^rc|\(rc\)$/ ? "copy (rc)" : "copy (text)") SUBSEP "copy" }

function verdict(got, need) {
    if (got >= need)
        return "met"
    return sprintf("MISSED: %.2f of %.2f (needs %.2fx faster)", got, need, need / got)
}

function mib(kib) { return sprintf("%.1f MiB", kib / 1024) }

NR == 1 { next }
{
    key = $1 SUBSEP $2
    if (!(key in secs)) {
        order[++keys] = key
        if (!($1 in seen)) {
            seen[$1] = 1
            jobs[++njobs] = $1
        }
        out[key] = $7
    }
    secs[key] = secs[key] " " $5
    took[key, $4] = $5
    if ($4 + 0 > maxrun)
        maxrun = $4 + 0
    input[key] = $3
    if ($6 + 0 > rss[key] + 0)
        rss[key] = $6
    if ($8 != 0)
        failed[key] = failed[key] " " $8
    exact[key] = $9
}

END {
    for (k = 1; k <= keys; k++) {
        key = order[k]
        split(key, part, SUBSEP)
        rate[key] = input[key] / median(secs[key]) / 1e6
        if (exact[key] == 1 && part[2] !~ /^(sifteron|sifteron\.exe|cat|copy)$/ &&
            rate[key] > best[part[1]] + 0) {
            best[part[1]] = rate[key]
            bestTool[part[1]] = part[2]
        }
    }

    printf "%-27s %-12s %9s %10s %10s %6s  %7s  %s\n", "job", "tool", "MB/s", "peak RSS", "output",
        "exact", "/copy", "sifteron/fastest exact peer"
    for (j = 1; j <= njobs; j++) {
        job = jobs[j]
        # sifteron first, then the others from the fastest down
        n = 0
        if ((job SUBSEP "sifteron") in rate)
            row[++n] = job SUBSEP "sifteron"
        first = n + 1
        for (k = 1; k <= keys; k++) {
            split(order[k], part, SUBSEP)
            if (part[1] == job && part[2] != "sifteron")
                row[++n] = order[k]
        }
        for (a = first; a < n; a++)
            for (b = a + 1; b <= n; b++)
                if (rate[row[b]] > rate[row[a]]) {
                    t = row[a]; row[a] = row[b]; row[b] = t
                }
        for (a = 1; a <= n; a++) {
            key = row[a]
            split(key, part, SUBSEP)
            peer = ""
            if (part[2] == "sifteron" && job in best)
                peer = sprintf("%.2f (%s)", ratio(key, job SUBSEP bestTool[job]), bestTool[job])
            same = part[2] ~ /^(sifteron|sifteron\.exe|copy|cat)$/ ? "" : exact[key] == 1 ? "yes" : "no"
            vs_copy = key == copy_key(job) ? "1.00" : sprintf("%.2f", ratio(key, copy_key(job)))
            note = key in failed ? "  exit status" failed[key] : ""
            printf "%-27s %-12s %9.1f %10s %7.1f MB %6s  %7s  %s%s\n", job, part[2], rate[key],
                mib(rss[key]), out[key] / 1e6, same, vs_copy, peer, note
        }
    }

    print ""
    print "targets"
    maxrss = 0
    for (j = 1; j <= njobs; j++) {
        job = jobs[j]
        key = job SUBSEP "sifteron"
        if (!(key in rate))
            continue
        if (rss[key] + 0 > maxrss)
            maxrss = rss[key]
        vs_copy = ratio(key, copy_key(job))
        if (job ~ / \(utf-16\)$/) {
            # The speed of the text against the same text in UTF-8.
            base = substr(job, 1, length(job) - 9)
            vs_utf8 = time_ratio(key, base SUBSEP "sifteron")
            printf "  %-27s sifteron utf-16/utf-8 of the same text %.2f, need 0.50: %s\n", job,
                vs_utf8, verdict(vs_utf8, 0.5)
        } else if (job ~ /^multiline/) {
            printf "  %-27s sifteron/copy %.2f, need 1.25: %s\n", job, vs_copy, verdict(vs_copy, 1.25)
        } else {
            vs_peer = ratio(key, job SUBSEP bestTool[job])
            printf "  %-27s sifteron/fastest exact peer (%s) %.2f, need 10.00: %s\n", job,
                bestTool[job], vs_peer, verdict(vs_peer, 10)
            printf "  %-27s sifteron/copy %.2f, need 0.50: %s\n", "", vs_copy, verdict(vs_copy, 0.5)
        }
        if ((job SUBSEP "sifteron.exe") in rate) {
            vs_linux = ratio(job SUBSEP "sifteron.exe", key)
            printf "  %-27s sifteron.exe under Wine/sifteron %.2f, need 0.80: %s\n", "", vs_linux,
                verdict(vs_linux, 0.8)
        }
    }
    if (maxrss > 0)
        printf "  %-27s %s, need < 8 MiB: %s\n", "peak RSS (largest)", mib(maxrss),
            maxrss < 8192 ? "met" : sprintf("MISSED by %s", mib(maxrss - 8192))

    if (memory != "") {
        header = 1
        while ((getline line < memory) > 0) {
            if (header) {
                header = 0
                continue
            }
            split(line, m, "\t")
            if (!shown++)
                printf "  peak RSS, %.0f MB against %.0f MB input (difference must be < 1 MiB):\n",
                    m[2] / 1e6, m[4] / 1e6
            diff = m[5] - m[3]
            printf "    %-20s %6d KiB  %6d KiB  difference %5d KiB: %s   (large input at %.0f MB/s)\n",
                m[1], m[3], m[5], diff, (diff < 1024 && diff > -1024) ? "met" : "MISSED",
                m[4] / m[6] / 1e6
        }
    }
}
