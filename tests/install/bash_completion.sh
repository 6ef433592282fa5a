#!/usr/bin/env bash
# The bash completion of each program offers its options and then what the program takes:
# tarnwick-cli a mode and two files, tarnwick (the window) up to two files. Each knows exactly the
# options that its program's --help shows, and which of them take a value.
#
# usage: bash_completion.sh DIST_DIR TARNWICK TARNWICK_CLI
source "$(dirname "$0")/lib.sh"
dist=$(realpath "$1") tarnwick=$(realpath "$2") tarnwick_cli=$(realpath "$3")

for program in tarnwick tarnwick-cli; do
    # shellcheck source=/dev/null
    source "$dist/$program.bash-completion"
done

# The function that completes PROGRAM, as `complete` has it registered.
completer() {
    complete -p "$1" 2>/dev/null | sed -n 's/.* -F \([^ ]*\) .*/\1/p'
}
[ "$(completer tarnwick)" = _tarnwick ] || fail "not registered for tarnwick: $(complete -p tarnwick)"
[ "$(completer tarnwick-cli)" = _tarnwick_cli ] ||
    fail "not registered for tarnwick-cli: $(complete -p tarnwick-cli)"

offered() { # PROGRAM WORDS...: what completing the last word offers, sorted, on one line
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    "$(completer "$1")"
    printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' '
}

# Reads lines "WORDS|EXPECTED" (a trailing blank in WORDS completes an empty word).
check_cases() {
    local program=$1 words expected actual line
    while IFS='|' read -r words expected; do
        read -ra line <<<"$words"
        [[ $words == *' ' ]] && line+=("")
        actual=$(offered "$program" "${line[@]}")
        [ "$actual" = "$expected" ] || fail "$program $words<TAB>: got '$actual', want '$expected'"
    done
}

mkdir -p "$scratch/work/files"
touch "$scratch/work/files/old.txt" "$scratch/work/files/other.txt"
cd "$scratch/work"

check_cases tarnwick-cli <<'CASES'
 |lines words
w|words
--json |lines words
--j|--json
--|--count --counts --exact --explain --help --ignore --ignore-matching-lines --json --line-numbers --mask --memory --quiet --version
--memory |1G 256M 4G
--memory 1G lines files/o|files/old.txt files/other.txt
--c|--count --counts
--ig|--ignore --ignore-matching-lines
--ignore ca|case
--ignore case,tr|case,trailing-space
--ignore = i|inner-space invisible
--mask |
-I ^# lines files/o|files/old.txt files/other.txt
--mask = [0-9]+ lines files/o|files/old.txt files/other.txt
-wi lines files/o|files/old.txt files/other.txt
-q lines - |files
lines - files/old.txt |
lines files/o|files/old.txt files/other.txt
words files/old.txt files/ot|files/other.txt
lines a b |
--help |
--version l|
CASES

check_cases tarnwick <<'CASES'
 |files
files/o|files/old.txt files/other.txt
--l|--lines
-|--help --ignore --ignore-matching-lines --lines --mask --version --words -I -Z -b -h -i -w
--|--help --ignore --ignore-matching-lines --lines --mask --version --words
--lines -|--help --ignore --ignore-matching-lines --mask --version -I -Z -b -h -i -w
--words --|--help --ignore --ignore-matching-lines --mask --version
--ignore ca|case
-I ^# files/o|files/old.txt files/other.txt
--lines files/o|files/old.txt files/other.txt
files/old.txt files/ot|files/other.txt
files/old.txt --w|--words
a b |
a b --|--help --ignore --ignore-matching-lines --lines --mask --version --words
--help |
-h f|
--version --l|
-- --|
-- files/old.txt files/ot|files/other.txt
-platform offscreen files/ol|files/old.txt
-style |
--style=fusion files/ol|files/old.txt
CASES

# The options of PROGRAM's --help, one a line, each followed by " value" when it takes one: read
# off the option column of its "Options:" section ("  -h, --help  ...", "  -I, --ignore <RE>").
help_options() {
    env -u DISPLAY -u WAYLAND_DISPLAY "$1" --help | awk '
        /^Options:/ { on = 1; next }
        /^[^ ]/ { on = 0 }
        on && /^  -/ {
            sub(/^  /, ""); split($0, column, "  ")
            valued = sub(/[ =]<[^>]*>$/, "", column[1]) ? " value" : ""
            count = split(column[1], names, ", ")
            for (i = 1; i <= count; i++) print names[i] valued
        }' | sort
}

# The same from the completion's own lists.
completion_options() {
    local -n flags=$1_flags valued=$1_valued
    {
        printf '%s\n' "${flags[@]}"
        for option in "${!valued[@]}"; do echo "$option value"; done
    } | sort
}

for program in "$tarnwick" "$tarnwick_cli"; do
    name=$(basename "$program")
    help_options "$program" >"$scratch/help"
    [ -s "$scratch/help" ] || fail "no options read from $name --help"
    completion_options "$(completer "$name")" >"$scratch/completion"
    diff -u "$scratch/help" "$scratch/completion" >"$scratch/options.diff" ||
        fail "the options of $name --help (-) and of its completion (+) differ:
$(cat "$scratch/options.diff")"
    echo "$name completes: $(paste -sd' ' "$scratch/completion")"
done
