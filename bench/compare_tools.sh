#!/usr/bin/env bash
# Times tarnwick-cli against the public tools that compute the same line membership, on generated
# file pairs, and measures its peak memory. See bench/README.md.
#
#   bench/compare_tools.sh [BUILD_DIR [WORK_DIR]]
#
# BUILD_DIR defaults to build/ and WORK_DIR to BUILD_DIR/bench-work. Environment: RUNS (counted
# runs per command, default 5), GREP_RUNS (counted runs of grep, which is slow, default 3; 0 leaves
# grep out), SIZES (line counts, default "100000 1000000").
# Exit status: 0 when every target for 1,000,000 lines is met, 1 when one is missed, 2 on trouble.

set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-build}
work=${2:-$build/bench-work}
runs=${RUNS:-5}
grep_runs=${GREP_RUNS:-3}
sizes=${SIZES:-"100000 1000000"}
cli=$build/cli/tarnwick-cli

die() {
    echo "compare_tools.sh: $*" >&2
    exit 2
}

missing=()
for tool in hyperfine gawk python3 grep sort comm diff; do
    command -v "$tool" > /dev/null || missing+=("$tool")
done
[[ -x /usr/bin/time ]] || missing+=("time (for /usr/bin/time)")
if ((${#missing[@]} > 0)); then
    echo "compare_tools.sh: missing: ${missing[*]}" >&2
    echo "On Debian: apt-get install hyperfine gawk time (python3, grep, coreutils, diffutils too if absent)" >&2
    exit 2
fi
[[ -x $cli ]] || die "no $cli: build first (cmake --build $build)"

mkdir -p "$work"
work=$(cd "$work" && pwd)
cli=$(cd "$(dirname "$cli")" && pwd)/tarnwick-cli

for n in $sizes; do
    if [[ ! -s $work/a-$n.txt || ! -s $work/b-$n.txt ]]; then
        python3 "$here/make_inputs.py" "$work" --lines "$n"
    fi
done

# The mean time of command NAME in a hyperfine JSON export.
mean_of() {
    python3 - "$1" "$2" << 'EOF'
import json, sys
for result in json.load(open(sys.argv[1]))["results"]:
    if result["command"] == sys.argv[2]:
        print(result["mean"])
EOF
}

# Maximum resident set size in bytes of one run of the given command, from GNU time.
peak_rss() {
    local report=$work/time-v.txt
    /usr/bin/time -v -o "$report" "$@" > /dev/null 2>&1 || true
    local kib
    kib=$(gawk -F': *' '/Maximum resident set size/ {print $2}' "$report")
    rm -f "$report"
    [[ -n $kib ]] || die "no peak memory figure from /usr/bin/time for: $*"
    echo $((kib * 1024))
}

verdicts=()
missed=0

for n in $sizes; do
    a=$work/a-$n.txt
    b=$work/b-$n.txt
    sa=$work/a-$n.sorted
    sb=$work/b-$n.sorted
    combined=$(($(stat -L -c %s "$a") + $(stat -L -c %s "$b")))

    # Before timing anything, make sure tarnwick-cli and gawk list the same lines, occurrence for
    # occurrence: a fast wrong answer is no answer.
    "$cli" lines "$a" "$b" > "$work/cli-$n.txt" || [[ $? == 1 ]] || die "tarnwick-cli lines failed on $n lines"
    for side in '<' '>'; do
        if [[ $side == '<' ]]; then own=$a other=$b; else own=$b other=$a; fi
        if ! cmp -s <(LC_ALL=C grep "^$side " "$work/cli-$n.txt" | cut -c3- | LC_ALL=C sort) \
            <(gawk 'NR==FNR{s[$0];next} !($0 in s)' "$other" "$own" | LC_ALL=C sort); then
            die "tarnwick-cli lines and gawk disagree on the lines of $own not in $other"
        fi
    done
    rm -f "$work/cli-$n.txt"

    echo
    echo "=== $n lines: $(basename "$a") and $(basename "$b"), $combined bytes together ==="
    hyperfine --warmup 1 --runs "$runs" --ignore-failure --style basic \
        --export-markdown "$work/tools-$n.md" --export-json "$work/tools-$n.json" \
        --command-name "tarnwick-cli lines" "'$cli' lines '$a' '$b' > /dev/null" \
        --command-name "tarnwick-cli words" "'$cli' words '$a' '$b' > /dev/null" \
        --command-name "gawk" \
        "gawk 'NR==FNR{s[\$0];next} !(\$0 in s)' '$b' '$a' > /dev/null; gawk 'NR==FNR{s[\$0];next} !(\$0 in s)' '$a' '$b' > /dev/null" \
        --command-name "sort+comm" \
        "LC_ALL=C sort '$a' > '$sa'; LC_ALL=C sort '$b' > '$sb'; LC_ALL=C comm -23 '$sa' '$sb' > /dev/null; LC_ALL=C comm -13 '$sa' '$sb' > /dev/null" \
        --command-name "diff" "diff '$a' '$b' > /dev/null"
    rm -f "$sa" "$sb"
    # grep -F builds an automaton of every line of the other file: at 1,000,000 lines that takes
    # about half a minute and gigabytes per direction, so it gets its own, smaller, run count.
    if ((grep_runs > 0)); then
        hyperfine --warmup 1 --runs "$grep_runs" --ignore-failure --style basic \
            --export-markdown "$work/grep-$n.md" --export-json "$work/grep-$n.json" \
            --command-name "grep -vxFf" \
            "LC_ALL=C grep -vxFf '$b' '$a' > /dev/null; LC_ALL=C grep -vxFf '$a' '$b' > /dev/null"
    fi

    json=$work/tools-$n.json
    lines=$(mean_of "$json" "tarnwick-cli lines")
    words=$(mean_of "$json" "tarnwick-cli words")
    grep_=nan
    if ((grep_runs > 0)); then grep_=$(mean_of "$work/grep-$n.json" "grep -vxFf"); fi
    gawk_=$(mean_of "$json" "gawk")
    sortcomm=$(mean_of "$json" "sort+comm")
    diff_=$(mean_of "$json" "diff")
    rss_lines=$(peak_rss "$cli" lines "$a" "$b")
    rss_words=$(peak_rss "$cli" words "$a" "$b")

    echo
    echo "--- summary, $n lines (mean of $runs runs; both directions per command) ---"
    gawk -v n="$n" -v lines="$lines" -v words="$words" -v grep_="$grep_" -v gawk_="$gawk_" \
        -v sortcomm="$sortcomm" -v diff_="$diff_" -v combined="$combined" \
        -v rl="$rss_lines" -v rw="$rss_words" -v out="$work/verdicts-$n.txt" '
        # "faster than" is a strict bound, "at most" is not.
        function check(what, value, limit, strict) {
            target = (strict ? "< " : "<= ") limit
            if (n != 1000000) {
                printf "  %-26s %8.3f  (target at 1,000,000 lines: %s)\n", what, value, target
                return
            }
            ok = strict ? value < limit : value <= limit
            printf "  %-26s %8.3f  (target %s) %s\n", what, value, target, ok ? "met" : "MISSED"
            printf "%s %-26s %8.3f (%s)\n", ok ? "met   " : "MISSED", what, value, target > out
        }
        BEGIN {
            printf "  %-22s %8.3f s\n", "tarnwick-cli lines", lines
            printf "  %-22s %8.3f s\n", "tarnwick-cli words", words
            if (grep_ != "nan")
                printf "  %-22s %8.3f s\n", "grep -vxFf", grep_
            printf "  %-22s %8.3f s\n", "gawk", gawk_
            printf "  %-22s %8.3f s\n", "sort+comm", sortcomm
            printf "  %-22s %8.3f s\n", "diff", diff_
            printf "  peak RSS: lines %.1f MiB, words %.1f MiB; files together %.1f MiB\n",
                rl / 1048576, rw / 1048576, combined / 1048576
            print "  ratios:"
            check("lines / gawk", lines / gawk_, 0.1, 0)
            check("lines / diff", lines / diff_, 1, 1)
            check("lines / sort+comm", lines / sortcomm, 1, 1)
            check("words / lines", words / lines, 2, 0)
            check("peak RSS lines / files", rl / combined, 3, 0)
            # The bound for any content: three times the files and 100 MB.
            check("(peak words-100MiB)/files", (rw - 104857600) / combined, 3, 0)
            if (grep_ != "nan")
                printf "  %-26s %8.3f  (for scale)\n", "lines / grep -vxFf", lines / grep_
        }'
    if [[ -s $work/verdicts-$n.txt ]]; then
        mapfile -t -O "${#verdicts[@]}" verdicts < "$work/verdicts-$n.txt"
        rm -f "$work/verdicts-$n.txt"
    fi
done

echo
echo "Hyperfine tables and JSON: $work/tools-*.{md,json}, $work/grep-*.{md,json}"
if ((${#verdicts[@]} > 0)); then
    echo "Targets at 1,000,000 lines:"
    for v in "${verdicts[@]}"; do
        echo "  $v"
        if [[ $v == MISSED* ]]; then missed=1; fi
    done
fi
exit "$missed"
