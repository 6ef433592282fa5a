#!/usr/bin/env bash
# tarnwick-cli beyond its memory bound, as a process: its temporary files are gone after it is
# interrupted, and a disk that is too small or fills up ends the run with status 2, a message and
# no report at all. Everything happens inside one scratch folder.
#
#   spilled_temporaries.sh TARNWICK_CLI
set -uo pipefail
cli=$1
scratch=$(mktemp -d)
small=$scratch/small
cleanup() {
    if mountpoint -q "$small" 2>/dev/null; then umount "$small"; fi
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}
mkdir "$scratch/tmp" "$small"

# Two files of two million lines; every tenth line of the second is changed.
awk 'BEGIN { for (i = 0; i < 2000000; i++) print "line " i " of the first file" }' \
    >"$scratch/a.txt"
awk '{ if (NR % 10 == 0) print $0 " changed"; else print }' "$scratch/a.txt" >"$scratch/b.txt"

# Runs the comparison through temporary files under $1, output to $scratch/out and err.
spilled() {
    local folder=$1
    shift
    TMPDIR=$folder "$@" "$cli" --memory=1 lines "$scratch/a.txt" "$scratch/b.txt" \
        >"$scratch/out" 2>"$scratch/err"
}

# A whole run: the report held in memory, and nothing on stderr, which is no terminal here.
spilled "$scratch/tmp"
status=$?
[ "$status" -eq 1 ] || fail "a whole run: status $status"
[ ! -s "$scratch/err" ] || fail "a whole run wrote to stderr: $(head -c 200 "$scratch/err")"
"$cli" lines "$scratch/a.txt" "$scratch/b.txt" >"$scratch/held"
cmp -s "$scratch/out" "$scratch/held" || fail "a whole run: not the report held in memory"
[ -z "$(ls -A "$scratch/tmp")" ] || fail "a whole run: temporary files left behind"
echo "a whole run: the report held in memory, stderr empty"

# Interrupted while its temporary files are open: they are never seen in the folder, and their
# space is the system's again once the process is gone.
for signal in INT TERM; do
    TMPDIR=$scratch/tmp env --default-signal=INT "$cli" --memory=1 lines "$scratch/a.txt" \
        "$scratch/b.txt" >"$scratch/out" 2>"$scratch/err" &
    pid=$!
    seen=
    for _ in $(seq 1000); do
        if ls -l "/proc/$pid/fd" 2>/dev/null | grep -q "$scratch/tmp/"; then
            seen=1
            break
        fi
        sleep 0.01
    done
    [ -n "$seen" ] || fail "SIG$signal: no temporary file was seen open"
    [ -z "$(ls -A "$scratch/tmp")" ] || fail "SIG$signal: a temporary file stands in its folder"
    kill "-$signal" "$pid"
    wait "$pid"
    status=$?
    [ "$status" -gt 128 ] || fail "SIG$signal: ended with status $status, not by the signal"
    [ -z "$(ls -A "$scratch/tmp")" ] || fail "SIG$signal: temporary files left behind"
    [ ! -s "$scratch/out" ] || fail "SIG$signal: a partial report"
    echo "SIG$signal: no temporary file left"
done

# A file size limit makes writing the temporary files fail part way.
spilled "$scratch/tmp" bash -c 'ulimit -f 1024; trap "" XFSZ; exec "$0" "$@"'
status=$?
[ "$status" -eq 2 ] || fail "writing failed: status $status, not 2"
grep -q "a temporary file could not be written" "$scratch/err" ||
    fail "writing failed: $(cat "$scratch/err")"
[ ! -s "$scratch/out" ] || fail "writing failed: a partial report"
[ -z "$(ls -A "$scratch/tmp")" ] || fail "writing failed: temporary files left behind"
echo "a failed write: status 2, no report"

if ! mount -t tmpfs -o size=1m,nr_inodes=8 tmpfs "$small" 2>/dev/null; then
    echo "SKIP: no tmpfs can be mounted here: the rows of a small and a full disk"
    exit 0
fi
# Too small from the start: said before anything is split.
spilled "$small"
status=$?
[ "$status" -eq 2 ] || fail "small disk: status $status, not 2"
grep -q "need about .* MB of temporary space" "$scratch/err" ||
    fail "small disk: $(cat "$scratch/err")"
[ ! -s "$scratch/out" ] || fail "small disk: a report"
echo "a small disk: $(cat "$scratch/err")"
umount "$small"

# Room enough in bytes, but it fills up with files while the first file is being split.
mount -t tmpfs -o size=1g,nr_inodes=8 tmpfs "$small" || fail "tmpfs could not be mounted again"
spilled "$small"
status=$?
[ "$status" -eq 2 ] || fail "full disk: status $status, not 2"
grep -q "No space left on device" "$scratch/err" || fail "full disk: $(cat "$scratch/err")"
[ ! -s "$scratch/out" ] || fail "full disk: a partial report"
[ -z "$(ls -A "$small")" ] || fail "full disk: temporary files left behind"
echo "a full disk: $(cat "$scratch/err")"
