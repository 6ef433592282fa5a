#!/usr/bin/env bash
# Checks tarnwick-cli's memory bound on hostile inputs: the peak resident memory of `lines` and
# `words`, with and without --json, must stay within three times the two files' size and 100 MB,
# also when a file comes through a pipe (which the tool keeps as its bytes). See bench/README.md.
#
#   bench/memory_bound.sh [BUILD_DIR [WORK_DIR]]
#
# BUILD_DIR defaults to build/ and WORK_DIR to BUILD_DIR/bound-work, where the inputs are made if
# they are missing (about 2.7 GB: delete them afterwards). Takes several minutes.
# Exit status: 0 when every run is within the bound, 1 when one is not, 2 on trouble.
set -euo pipefail

build=${1:-build}
work=${2:-$build/bound-work}
cli=$build/cli/tarnwick-cli
[[ -x $cli ]] || { echo "memory_bound.sh: no $cli: build first" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "memory_bound.sh: needs /usr/bin/time (apt-get install time)" >&2; exit 2; }
mkdir -p "$work"

make_input() {
    local name=$1
    [[ -s $work/$name ]] && return
    echo "making $name" >&2
    python3 - "$work/$name" "$name" << 'PYTHON'
import os, sys
path, name = sys.argv[1], sys.argv[2]
with open(path, "wb") as out:
    if name == "empty-lines-256M.txt":  # 268,435,456 empty lines
        block = b"\n" * (1 << 20)
        for _ in range(256):
            out.write(block)
    elif name == "short-lines-1G.txt":  # 134,217,728 different lines of 8 bytes
        per_block = 1 << 17
        for start in range(0, 1 << 27, per_block):
            out.write(b"".join(b"%07x\n" % (v * 2654435761 % (1 << 28))
                               for v in range(start, start + per_block)))
    elif name == "binary-1G":
        for _ in range(1024):
            out.write(os.urandom(1 << 20))
    else:
        out.write(b"one\ntwo\n\nthree\n")
PYTHON
}

inputs=(empty-lines-256M.txt short-lines-1G.txt binary-1G small.txt)
for input in "${inputs[@]}"; do make_input "$input"; done
# One line of 50 MB of words in each file, a tenth of the words changed: entries of tens of
# megabytes, and word searches through the whole partner line.
giant=50000000
if [[ ! -s $work/words-line-a-$giant.txt || ! -s $work/words-line-b-$giant.txt ]]; then
    echo "making words-line-{a,b}-$giant.txt" >&2
    python3 "$(dirname "$0")/make_inputs.py" "$work" --words-line "$giant" > /dev/null
fi

# About 300 MB of lines of words: the pair of make_inputs.py's million lines, three times over.
if [[ ! -s $work/text-300M.txt ]]; then
    echo "making text-300M.txt" >&2
    python3 "$(dirname "$0")/make_inputs.py" "$work" --lines 1000000 > /dev/null
    for _ in 1 2 3; do cat "$work/a-1000000.txt" "$work/b-1000000.txt"; done > "$work/text-300M.txt"
    rm -f "$work/a-1000000.txt" "$work/b-1000000.txt"
fi

missed=0
# check NAME FILE1 FILE2 [OPTIONS]; with PIPE=1 or PIPE=2 that file comes through a pipe.
check() {
    local name=$1 a=$work/$2 b=$work/$3
    shift 3
    local report=$work/time.txt
    case ${PIPE:-} in
    1) /usr/bin/time -v -o "$report" "$cli" "$@" <(cat "$a") "$b" > /dev/null 2>&1 || true ;;
    2) /usr/bin/time -v -o "$report" "$cli" "$@" "$a" <(cat "$b") > /dev/null 2>&1 || true ;;
    *) /usr/bin/time -v -o "$report" "$cli" "$@" "$a" "$b" > /dev/null 2>&1 || true ;;
    esac
    local kib bound
    kib=$(awk -F': *' '/Maximum resident set size/ {print $2}' "$report")
    bound=$(( (3 * ($(stat -L -c %s "$a") + $(stat -L -c %s "$b")) + 100 * 1048576) / 1024 ))
    local verdict=met
    (( kib <= bound )) || { verdict=MISSED; missed=1; }
    printf '%-52s %9d KiB of %9d KiB  %s\n' "$name $*" "$kib" "$bound" "$verdict"
}

for mode in lines words; do
    for json in "" --json; do
        check "256M empty lines, small" empty-lines-256M.txt small.txt $json $mode
        check "256M empty lines, twice" empty-lines-256M.txt empty-lines-256M.txt $json $mode
        check "1G of 8-byte lines, small" short-lines-1G.txt small.txt $json $mode
        check "small, 1G of 8-byte lines" small.txt short-lines-1G.txt $json $mode
        check "1G binary, small" binary-1G small.txt $json $mode
        check "50M line of words, changed" words-line-a-$giant.txt words-line-b-$giant.txt \
            $json $mode
        PIPE=1 check "300M of text through a pipe, small" text-300M.txt small.txt $json $mode
        PIPE=2 check "small, 300M of text through a pipe" small.txt text-300M.txt $json $mode
        PIPE=1 check "1G of 8-byte lines through a pipe, small" short-lines-1G.txt small.txt \
            $json $mode
    done
done
# --counts holds twelve bytes more a distinct line of the held file when read in passes, and a
# count and slots a line when both texts are held.
check "256M empty lines, twice" empty-lines-256M.txt empty-lines-256M.txt --counts lines
check "1G of 8-byte lines, small" short-lines-1G.txt small.txt --counts lines
check "small, 1G of 8-byte lines" small.txt short-lines-1G.txt --counts --json lines
PIPE=1 check "300M of text through a pipe, small" text-300M.txt small.txt --counts lines
PIPE=1 check "1G of 8-byte lines through a pipe, small" short-lines-1G.txt small.txt --counts lines
exit "$missed"
