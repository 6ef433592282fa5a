#!/usr/bin/env bash
# The bash completion of tarnwick-cli offers its options, its modes and then two files, and
# knows every option that `tarnwick-cli --help` shows.
#
# usage: bash_completion.sh COMPLETION_FILE TARNWICK_CLI
source "$(dirname "$0")/lib.sh"
completion=$1 tarnwick_cli=$2

# shellcheck source=/dev/null
source "$completion"
complete -p tarnwick-cli | grep -q -- '-F _tarnwick_cli' || fail "not registered for tarnwick-cli"

offered() { # what completing the last word of "$@" offers, sorted, on one line
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    _tarnwick_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}
mkdir -p "$scratch/files"
touch "$scratch/files/old.txt" "$scratch/files/other.txt"
cd "$scratch"
while IFS='|' read -r words expected; do
    read -ra line <<<"$words"
    [[ $words == *' ' ]] && line+=("")
    actual=$(offered tarnwick-cli "${line[@]}")
    [ "$actual" = "$expected" ] || fail "tarnwick-cli $words<TAB>: got '$actual', want '$expected'"
done <<'CASES'
 |lines words
w|words
--json |lines words
--j|--json
--|--exact --explain --help --json --version
lines files/o|files/old.txt files/other.txt
words files/old.txt files/ot|files/other.txt
lines a b |
--help |
--version l|
CASES

# The options in the completion are exactly those in --help.
help_options=$("$tarnwick_cli" --help | grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' |
    sort -u | paste -sd' ')
completion_options=$(printf '%s\n' "${_tarnwick_cli_flags[@]}" "${!_tarnwick_cli_valued[@]}" |
    sort -u | paste -sd' ')
[ "$help_options" = "$completion_options" ] ||
    fail "--help shows '$help_options' but the completion knows '$completion_options'"
echo "completes: $completion_options"
