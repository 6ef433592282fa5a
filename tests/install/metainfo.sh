#!/usr/bin/env bash
# The AppStream metadata passes `appstreamcli validate --no-net`, names the menu entry, and
# carries a screenshot and the notes of the release being built.
#
# usage: metainfo.sh METAINFO_FILE APP_ID VERSION
source "$(dirname "$0")/lib.sh"
metainfo=$1 id=$2 version=$3
need appstreamcli

appstreamcli validate --no-net "$metainfo" >"$scratch/out" 2>&1 || fail "$(cat "$scratch/out")"
cat "$scratch/out"
grep -q "^[EW]:" "$scratch/out" && fail "errors or warnings above"
[ "$(basename "$metainfo")" = "$id.metainfo.xml" ] || fail "named $(basename "$metainfo")"
for text in "<id>$id</id>" ">$id.desktop</launchable>" "<screenshot type=\"default\">" \
    "<release version=\"$version\""; do
    grep -qF "$text" "$metainfo" || fail "no $text"
done
