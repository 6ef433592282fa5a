#!/usr/bin/env bash
# lintian finds no error and no warning in the Debian package, and its notes to lintian silence
# nothing worse than an info tag. Tags below warning are listed, not failed.
#
# usage: lintian.sh BUILD_DIR VERSION
source "$(dirname "$0")/lib.sh"
build=$1 version=$2
need dpkg dpkg-deb dpkg-shlibdeps file lintian lintian-explain-tags

build_debian_package "$build" "$version"

# lintian unpacks into TMPDIR; --no-cfg keeps the machine's lintian settings out of the verdict.
mkdir "$scratch/tmp"
status=0
TMPDIR=$scratch/tmp lintian --no-cfg --fail-on error,warning --display-level '>=pedantic' \
    --display-experimental --show-overrides --tag-display-limit 0 "$deb" \
    >"$scratch/lintian.txt" 2>"$scratch/lintian.err" || status=$?
grep -E '^[EW]: ' "$scratch/lintian.txt" >"$scratch/failures" || true
if [ -s "$scratch/failures" ]; then
    tags=$(awk '{print $3}' "$scratch/failures" | sort -u)
    # shellcheck disable=SC2086 # one argument per tag
    fail "lintian on $(basename "$deb") reports errors or warnings:
$(cat "$scratch/failures")

What they mean:
$(lintian-explain-tags $tags 2>&1)"
fi

# An override may only quiet what would not fail this check.
for tag in $(sed -n 's/^O: [^ ]* \([^ ]*\).*/\1/p' "$scratch/lintian.txt" | sort -u); do
    visibility=$(lintian-explain-tags "$tag" | sed -n 's/^N: *Visibility: //p')
    case $visibility in
    info | pedantic | classification) ;;
    *) fail "the package's lintian overrides silence $tag, which is a(n) '$visibility' tag" ;;
    esac
done

# 1 is lintian's own trouble; 2 a tag that --fail-on names, which the checks above should show.
[ "$status" -eq 0 ] || fail "lintian ended with status $status:
$(cat "$scratch/lintian.err" "$scratch/lintian.txt")"

echo "lintian on $(basename "$deb"): no error or warning"
grep -E '^[IPXO]: ' "$scratch/lintian.txt" || true
