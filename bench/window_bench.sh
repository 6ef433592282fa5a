#!/usr/bin/env bash
# Times the window step by step (window_bench) beside tarnwick-cli on the same files, for several
# generated pairs, and prints medians with the ratios of the window's targets. See bench/README.md.
#
#   bench/window_bench.sh [BUILD_DIR [WORK_DIR]]
#
# BUILD_DIR defaults to build/ and WORK_DIR to BUILD_DIR/bench-work; the input files are made
# there when missing. Environment:
#   RUNS         window processes per pair, and runs of each CLI command (default 3)
#   PAIRS        which pairs, KIND-SIZE each (default: all five, see below)
#   TIMEOUT      seconds one window run may take; the step it is in then counts as timed out
#                (default 300)
#   SCROLL_BACK  1 adds a scroll back to the top after the scroll to the end
#   EDIT         1 adds two edits at the top of file #1's full text at the end
#   LINE_NUMBERS 0 starts the window with the panes' line numbers off (default 1, as a first start)
#   XVFB         1 runs the window in a real X window on a virtual display (xvfb-run), not on
#                Qt's offscreen platform
# Exit status: 0 when every target that applies is met, 1 when one is missed, 2 on trouble.

set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-build}
work=${2:-$build/bench-work}
runs=${RUNS:-3}
pairs=${PAIRS:-"lines-1000000 words-line-50000000 x-line-1000000 differ-200000 lines-100000"}
timeout=${TIMEOUT:-300}

die() {
    echo "window_bench.sh: $*" >&2
    exit 2
}

for tool in python3 timeout; do
    command -v "$tool" > /dev/null || die "missing: $tool"
done
[[ -x /usr/bin/time ]] || die "missing: /usr/bin/time (on Debian: apt-get install time)"
[[ -x $build/bench/window_bench ]] || die "no $build/bench/window_bench: build it first"
[[ -x $build/cli/tarnwick-cli ]] || die "no $build/cli/tarnwick-cli: build it first"
[[ $runs =~ ^[1-9][0-9]*$ ]] || die "RUNS must be a positive number"
[[ $timeout =~ ^[1-9][0-9]*$ ]] || die "TIMEOUT must be a positive number of seconds"

mkdir -p "$work"
work=$(cd "$work" && pwd)
bench=$(cd "$build/bench" && pwd)/window_bench
cli=$(cd "$build/cli" && pwd)/tarnwick-cli
scroll_back=()
[[ ${SCROLL_BACK:-0} == 1 ]] && scroll_back=(--scroll-back)
edit=()
[[ ${EDIT:-0} == 1 ]] && edit=(--edit)
line_numbers=()
[[ ${LINE_NUMBERS:-1} == 0 ]] && line_numbers=(--no-line-numbers)
display=()
if [[ ${XVFB:-0} == 1 ]]; then
    command -v xvfb-run > /dev/null || die "missing: xvfb-run (on Debian: apt-get install xvfb)"
    display=(env QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1600x1200x24")
fi

# Sets a and b to the two files of a pair, made when missing.
pair_files() {
    local kind=${1%-*} size=${1##*-} prefix option
    case $kind in
        lines) prefix="" option=--lines ;;
        differ) prefix=differ- option=--all-differ ;;
        words-line) prefix=words-line- option=--words-line ;;
        x-line) prefix=x-line- option=--x-line ;;
        short) prefix=short- option=--short-lines ;;
        zero-width) prefix=zero-width- option=--zero-width ;;
        *) die "unknown pair '$1': use lines-N, differ-N, words-line-BYTES, x-line-N, short-N or zero-width-BYTES" ;;
    esac
    [[ $size =~ ^[1-9][0-9]*$ ]] || die "no size in pair '$1'"
    a=$work/${prefix}a-$size.txt
    b=$work/${prefix}b-$size.txt
    if [[ ! -s $a || ! -s $b ]]; then
        python3 "$here/make_inputs.py" "$work" "$option" "$size" >&2
    fi
}

# Microseconds since the epoch, whatever the locale's decimal mark.
now_us() {
    local now=$EPOCHREALTIME
    echo "${now/[.,]/}"
}

# One run of tarnwick-cli, output to /dev/null: "wall-seconds peak-KiB exit-status".
time_cli() {
    local report=$work/time-cli.txt start end status=0
    start=$(now_us)
    timeout "$timeout" /usr/bin/time -f %M -o "$report" "$cli" "$@" > /dev/null 2>&1 || status=$?
    end=$(now_us)
    local kib
    kib=$(tail -n 1 "$report" 2> /dev/null || true)
    rm -f "$report"
    [[ $kib =~ ^[0-9]+$ ]] || kib=0
    echo "$(((end - start) / 1000000)).$(printf %06d $(((end - start) % 1000000))) $kib $status"
}

worst=0
for pair in $pairs; do
    pair_files "$pair"
    combined=$(($(stat -L -c %s "$a") + $(stat -L -c %s "$b")))
    rm -f "$work/window-$pair-"* "$work/cli-$pair-"*
    for ((run = 1; run <= runs; run++)); do
        echo "$pair: run $run of $runs" >&2
        # A fresh process each run, so that its peak memory is this run's. The program stops
        # itself at TIMEOUT and reports the step it was in; the outer limit is only a backstop.
        stem=$work/window-$pair-$run
        status=0
        timeout -k 10 $((timeout + 60)) "${display[@]}" "$bench" --json --timeout "$timeout" \
            "${scroll_back[@]}" "${edit[@]}" "${line_numbers[@]}" \
            "$a" "$b" > "$stem.json" 2> "$stem.log" || status=$?
        echo "$status" > "$stem.status"
        for mode in lines words; do
            time_cli "$mode" "$a" "$b" >> "$work/cli-$pair-$mode.txt"
        done
    done
    status=0
    python3 "$here/window_summary.py" "$work" "$pair" "$runs" "$combined" || status=$?
    if ((status > worst)); then worst=$status; fi
done
echo
echo "Reports of each run: $work/window-PAIR-RUN.{json,log}; CLI figures: $work/cli-PAIR-MODE.txt"
exit "$worst"
