#!/usr/bin/env bash
# Both manual pages, compressed as they are installed, render without a single warning, through
# groff and through man, and each names every option its program's --help shows.
#
# usage: manual_pages.sh PAGE_DIR TARNWICK TARNWICK_CLI
source "$(dirname "$0")/lib.sh"
pages=$1 tarnwick=$2 tarnwick_cli=$3
need groff man zcat

for program in "$tarnwick" "$tarnwick_cli"; do
    page=$pages/$(basename "$program").1.gz
    zcat "$page" >"$scratch/page.1" || fail "$page is not gzip data"
    groff -ww -man -Tutf8 "$scratch/page.1" >"$scratch/groff.txt" 2>"$scratch/groff.err" ||
        fail "groff: $(cat "$scratch/groff.err")"
    [ ! -s "$scratch/groff.err" ] || fail "groff -ww on $page: $(cat "$scratch/groff.err")"
    MANWIDTH=80 man --warnings -l "$page" >"$scratch/man.txt" 2>"$scratch/man.err" ||
        fail "man -l: $(cat "$scratch/man.err")"
    [ ! -s "$scratch/man.err" ] || fail "man --warnings -l $page: $(cat "$scratch/man.err")"
    grep -q 'SYNOPSIS' "$scratch/man.txt" || fail "$page shows no synopsis"
    # Every long option of the program is explained on its page.
    for option in $(env -u DISPLAY "$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
        grep -qF -- "$option" "$scratch/man.txt" || fail "$page does not explain $option"
    done
    echo "$(basename "$page"): renders without warnings"
done
