#!/usr/bin/env bash
# tarnwick-cli works as git's difftool, given with -x and as a configured tool: in a scratch
# repository with two commits, git difftool --no-prompt prints its report of the change.
#
# usage: git_difftool.sh TARNWICK_CLI
source "$(dirname "$0")/lib.sh"
tarnwick_cli=$1
need git

repo=$scratch/repo
git init -q "$repo"
cd "$repo"
export GIT_CONFIG_NOSYSTEM=1 GIT_AUTHOR_NAME=Test GIT_AUTHOR_EMAIL=test@example.com \
    GIT_COMMITTER_NAME=Test GIT_COMMITTER_EMAIL=test@example.com
printf 'alpha\nbeta\ngamma\n' >notes.txt
git add notes.txt && git commit -qm first
printf 'alpha\ngamma\ndelta\n' >notes.txt
git commit -qam second

expected="--- notes.txt: 1 line not in notes.txt
< beta
--- notes.txt: 1 line not in notes.txt
> delta"
report() { sed -E 's/^--- [^:]*notes\.txt: (.*) not in [^ ]*notes\.txt$/--- notes.txt: \1 not in notes.txt/'; }

out=$(git difftool --no-prompt -x "'$tarnwick_cli' lines" HEAD~1 2>&1 | report)
[ "$out" = "$expected" ] || fail "git difftool -x printed:
$out"

git config difftool.tarnwick.cmd "'$tarnwick_cli' lines \"\$LOCAL\" \"\$REMOTE\""
out=$(git difftool --no-prompt --tool=tarnwick HEAD~1 2>&1 | report)
[ "$out" = "$expected" ] || fail "git difftool --tool=tarnwick printed:
$out"
echo "git difftool ran tarnwick-cli both ways"
