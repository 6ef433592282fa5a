#!/usr/bin/env bash
# The menu entry passes desktop-file-validate and opens the window on the files it is given.
#
# usage: desktop_entry.sh DESKTOP_FILE APP_ID
source "$(dirname "$0")/lib.sh"
entry=$1 id=$2
need desktop-file-validate

desktop-file-validate "$entry" >"$scratch/out" 2>&1 || fail "$(cat "$scratch/out")"
[ ! -s "$scratch/out" ] || fail "desktop-file-validate: $(cat "$scratch/out")"
[ "$(basename "$entry")" = "$id.desktop" ] || fail "named $(basename "$entry")"
for line in "Exec=tarnwick %F" "MimeType=text/plain;" "Icon=$id"; do
    grep -qxF "$line" "$entry" || fail "no line $line"
done
grep -q '^Categories=.' "$entry" && grep -q '^Comment=.' "$entry" || fail "no category or comment"
echo "desktop-file-validate: no remarks"
