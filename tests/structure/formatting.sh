#!/bin/sh
# Every C++ source follows the tree's .clang-format. Run from anywhere: formatting.sh ROOT FORMATTER
set -eu
root=$1
formatter=$2
cd "$root"
if ! git ls-files '*.cpp' '*.h' | xargs "$formatter" --dry-run --Werror; then
    echo "Some sources stray from .clang-format; '$formatter -i' mends them." >&2
    exit 1
fi
