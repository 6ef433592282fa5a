#!/usr/bin/env bash
# Builds the concurrency tour (concurrency_tour.cpp) with ThreadSanitizer in a build folder of its
# own, runs it on a generated pair of large files on Qt's offscreen platform, and counts the
# reports of races with the program's own code on both sides. See bench/README.md.
#
#   bench/tsan_tour.sh [BUILD_DIR [WORK_DIR]]
#
# BUILD_DIR defaults to build-tsan/ and WORK_DIR to BUILD_DIR/bench-work; the input files are made
# there when missing. Environment:
#   LINES_IN_PAIR  lines of each file of the pair (default 1000000)
#   DELAYS         milliseconds after a comparison's start at which the user acts, one tour of
#                  every act per delay (default 300,3000)
#   TIMEOUT        seconds the tour may take (default 5400)
# The ThreadSanitizer log and the tour's own lines stay in WORK_DIR (tsan-tour.log, tour.txt).
# Exit status: 0 when the tour ran to its end and no report counts, 1 otherwise, 2 on trouble.

set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source_dir=$(dirname "$here")
build=${1:-build-tsan}
work=${2:-$build/bench-work}
lines=${LINES_IN_PAIR:-1000000}
delays=${DELAYS:-300,3000}
timeout=${TIMEOUT:-5400}

die() {
    echo "tsan_tour.sh: $*" >&2
    exit 2
}

for tool in cmake python3 timeout; do
    command -v "$tool" > /dev/null || die "missing: $tool"
done
[[ $lines =~ ^[1-9][0-9]*$ ]] || die "LINES_IN_PAIR must be a positive number"
[[ $delays =~ ^[0-9]+(,[0-9]+)*$ ]] || die "DELAYS must be milliseconds separated by commas"
[[ $timeout =~ ^[1-9][0-9]*$ ]] || die "TIMEOUT must be a positive number of seconds"

# Optimised, as the program ships, with the debug information that names each frame of a report.
launcher=()
command -v ccache > /dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
generator=()
command -v ninja > /dev/null && generator=(-G Ninja)
cmake -S "$source_dir" -B "$build" "${generator[@]}" "${launcher[@]}" \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARNWICK_SANITIZE_THREAD=ON -DTARNWICK_TESTS=OFF \
    > /dev/null || die "cmake could not configure $build"
cmake --build "$build" --target concurrency_tour || die "the build failed"

mkdir -p "$work"
a=$work/a-$lines.txt
b=$work/b-$lines.txt
if [[ ! -s $a || ! -s $b ]]; then
    python3 "$here/make_inputs.py" "$work" --lines "$lines" >&2
fi

log=$work/tsan-tour.log
tour=$work/tour.txt
echo "tsan_tour.sh: touring the window on $lines lines; this takes a while" >&2
peak=$work/tsan-tour.peak
measure=()
[[ -x /usr/bin/time ]] && measure=(/usr/bin/time -f %M -o "$peak")
status=0
start=$SECONDS
# halt_on_error=0: every report, not the first; history_size=7: the most history there is, so
# that the stack of the earlier access of a race can be told.
QT_QPA_PLATFORM=offscreen \
    TSAN_OPTIONS="second_deadlock_stack=1 report_signal_unsafe=0 halt_on_error=0 history_size=7" \
    timeout -k 10 $((timeout + 60)) "${measure[@]}" "$build/bench/concurrency_tour" \
    --delays "$delays" --timeout "$timeout" "$a" "$b" > "$tour" 2> "$log" || status=$?
cat "$tour"
kib=$(tail -n 1 "$peak" 2> /dev/null || true)
[[ $kib =~ ^[0-9]+$ ]] && kib=", at most $((kib / 1024)) MiB" || kib=""
echo "tsan_tour.sh: the tour took $((SECONDS - start)) s$kib"

counted=0
python3 "$here/tsan_reports.py" "$log" || counted=$?
((counted < 2)) || die "could not read $log"
if ((status != 0)) || [[ $(tail -n 1 "$tour") != *"(the program ends)" ]]; then
    echo "tsan_tour.sh: the tour did not reach its end (status $status); see $tour and $log" >&2
    exit 1
fi
((counted == 0)) || exit 1
echo "tsan_tour.sh: no race with the program's own code on both sides (log: $log)"
