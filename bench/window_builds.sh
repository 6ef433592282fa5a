#!/usr/bin/env bash
# Times the window of several builds (of several commits, say) on one pair of files, a run of each
# in turn, so that a machine whose load drifts weighs on each build alike; then prints the medians
# of each build as window_bench.sh does. See bench/README.md.
#
#   bench/window_builds.sh WORK_DIR BUILD_DIR...
#
# Each round runs `RUNS=1 window_bench.sh BUILD_DIR WORK_DIR` for every build in the order given
# (the window, then tarnwick-cli lines and words); the reports of each build are kept in
# WORK_DIR/builds/N (N its place among the builds). Environment: RUNS (rounds, default 5), PAIR
# (one pair, default lines-1000000), and XVFB and TIMEOUT as window_bench.sh takes them.
# Exit status: 0, or 2 on trouble (a run that went wrong included).

set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rounds=${RUNS:-5}
pair=${PAIR:-lines-1000000}

die() {
    echo "window_builds.sh: $*" >&2
    exit 2
}

(($# >= 2)) || die "usage: window_builds.sh WORK_DIR BUILD_DIR..."
[[ $rounds =~ ^[1-9][0-9]*$ ]] || die "RUNS must be a positive number"
[[ $pair =~ ^[a-z-]+-[1-9][0-9]*$ ]] || die "PAIR must be KIND-SIZE, as window_bench.sh takes it"
work=$1
shift
builds=("$@")
mkdir -p "$work"
work=$(cd "$work" && pwd)

for ((i = 1; i <= ${#builds[@]}; i++)); do
    rm -rf "$work/builds/$i"
    mkdir -p "$work/builds/$i"
done
for ((round = 1; round <= rounds; round++)); do
    for ((i = 1; i <= ${#builds[@]}; i++)); do
        build=${builds[i - 1]}
        echo "round $round of $rounds: $build" >&2
        RUNS=1 PAIRS=$pair "$here/window_bench.sh" "$build" "$work" > /dev/null ||
            (($? == 1)) || die "window_bench.sh failed on $build; see $work/window-$pair-1.log"
        for kind in json status log; do
            cp "$work/window-$pair-1.$kind" "$work/builds/$i/window-$pair-$round.$kind"
        done
        for mode in lines words; do
            cat "$work/cli-$pair-$mode.txt" >> "$work/builds/$i/cli-$pair-$mode.txt"
        done
    done
done

# The pair's files, as window_bench.sh made or found them.
bytes=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["files_bytes"])' \
    "$work/builds/1/window-$pair-1.json")
for ((i = 1; i <= ${#builds[@]}; i++)); do
    echo
    echo "##### ${builds[i - 1]}"
    python3 "$here/window_summary.py" "$work/builds/$i" "$pair" "$rounds" "$bytes" || true
done
