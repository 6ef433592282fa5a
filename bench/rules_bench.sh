#!/usr/bin/env bash
# Times tarnwick-cli with the rules (-w -i, one --mask) beside the same command without them, on
# the 1,000,000-line pair of make_inputs.py, and checks the ratios and the peak memory against
# their targets. See bench/README.md.
#
#   bench/rules_bench.sh [BUILD_DIR [WORK_DIR]]
#
# BUILD_DIR defaults to build/ and WORK_DIR to BUILD_DIR/bench-work. Environment: RUNS (counted
# runs per command, default 9), LINES (default 1000000). The commands are run in turn, each run
# of each after a run of the others, and their medians compared, so that a shared machine's load
# falls on all alike.
# Exit status: 0 when every target is met, 1 when one is missed, 2 on trouble.

set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=${1:-build}
work=${2:-$build/bench-work}
runs=${RUNS:-9}
n=${LINES:-1000000}
cli=$build/cli/tarnwick-cli

die() {
    echo "rules_bench.sh: $*" >&2
    exit 2
}

command -v hyperfine > /dev/null || die "missing hyperfine (apt-get install hyperfine)"
[[ -x /usr/bin/time ]] || die "missing /usr/bin/time (apt-get install time)"
[[ -x $cli ]] || die "no $cli: build first (cmake --build $build --target tarnwick-cli)"
mkdir -p "$work"
work=$(cd "$work" && pwd)
cli=$(cd "$(dirname "$cli")" && pwd)/tarnwick-cli
a=$work/a-$n.txt
b=$work/b-$n.txt
[[ -s $a && -s $b ]] || python3 "$here/make_inputs.py" "$work" --lines "$n" > /dev/null

declare -A commands=(
    [lines]="lines"
    [lines-w-i]="-w -i lines"
    [lines-mask]="--mask=[0-9]+ lines"
    [words]="words"
    [words-w-i]="-w -i words"
)
names=(lines lines-w-i lines-mask words words-w-i)

# One run of every command in turn, RUNS times over: hyperfine times each run alone.
declare -A times
for name in "${names[@]}"; do
    times[$name]=""
done
for ((run = 0; run < runs; ++run)); do
    for name in "${names[@]}"; do
        json=$work/rules-$name.json
        hyperfine --runs 1 --ignore-failure --style none --export-json "$json" \
            "'$cli' ${commands[$name]} '$a' '$b' > /dev/null" > /dev/null 2>&1
        times[$name]+=" $(python3 -c 'import json, sys
print(json.load(open(sys.argv[1]))["results"][0]["mean"])' "$json")"
    done
done

median() {
    python3 -c 'import statistics,sys; print(statistics.median(float(x) for x in sys.argv[1:]))' "$@"
}
# Peak resident memory in KB of one run; exit status 1, "differences found", is expected.
peak() {
    { /usr/bin/time -f %M "$cli" $1 "$a" "$b" 2>&1 > /dev/null || true; } | tail -1
}

bytes=$(($(stat -c %s "$a") + $(stat -c %s "$b")))
bound=$((3 * bytes + 100 * 1024 * 1024))
status=0
echo "--- tarnwick-cli with rules, $n lines (median of $runs runs each, run in turn) ---"
declare -A median_of
for name in "${names[@]}"; do
    median_of[$name]=$(median ${times[$name]})
    kb=$(peak "${commands[$name]}")
    ok=met
    ((kb * 1024 <= bound)) || { ok=MISSED; status=1; }
    printf "  %-32s %7.3f s   peak %5d MB (bound %d MB) %s\n" "tarnwick-cli ${commands[$name]}" \
        "${median_of[$name]}" $((kb / 1024)) $((bound / 1024 / 1024)) "$ok"
done
ratio() {
    local what=$1 value target=$4
    value=$(python3 -c "print(${median_of[$2]} / ${median_of[$3]})")
    if python3 -c "import sys; sys.exit(0 if $value <= $target else 1)"; then
        printf "  %-32s %7.2f  (target at most %s) met\n" "$what" "$value" "$target"
    else
        printf "  %-32s %7.2f  (target at most %s) MISSED\n" "$what" "$value" "$target"
        status=1
    fi
}
echo "  ratios:"
ratio "lines -w -i / lines" lines-w-i lines 1.5
ratio "words -w -i / words" words-w-i words 1.5
ratio "lines --mask / lines" lines-mask lines 3
exit $status
