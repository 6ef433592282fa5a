#!/usr/bin/env bash
# Includes between the source folders go one way: the desktop layer at the bottom, the window on
# it, the comparisons and file commands on both, and the command-line tool beside the window.
# The comparison engine itself stays plain C++ that a program without widgets can link.
set -euo pipefail
root=${1:?usage: include_directions.sh SOURCE_ROOT}
cd "$root"

status=0

# folder: the folders its files may include from
declare -A allowed=(
    [platform]="platform"
    [app]="app platform"
    [compare]="compare app platform"
    [files]="files app platform"
    [cli]="cli compare files platform"
)

# The engine (the sources of the comparison library) takes only these from the desktop layer.
engine_may_include="platform/LineBreakUnits.h platform/LargePages.h"

included_folders() { # file -> "folder/header" per project include
    grep -hoE '^#include "(platform|app|compare|files|cli)/[^"]+"' "$1" | sed -E 's/#include "(.*)"/\1/'
}

for folder in "${!allowed[@]}"; do
    for file in "$folder"/*.h "$folder"/*.cpp; do
        [[ -e $file ]] || continue
        while read -r header; do
            [[ -n $header ]] || continue
            if [[ " ${allowed[$folder]} " != *" ${header%%/*} "* ]]; then
                echo "$file includes $header: $folder/ may include only from ${allowed[$folder]}"
                status=1
            fi
        done < <(included_folders "$file")
    done
done

# The engine's sources, as the build lists them, and the headers they reach within compare/.
engine_sources=$(sed -n '/target_sources(tarnwick_compare/,/)/p' compare/CMakeLists.txt |
    grep -oE '[A-Za-z]+\.cpp')
declare -A seen=()
pending=()
for source in $engine_sources; do pending+=("compare/$source" "compare/${source%.cpp}.h"); done
while ((${#pending[@]})); do
    file=${pending[-1]}
    unset 'pending[-1]'
    [[ -e $file && -z ${seen[$file]:-} ]] || continue
    seen[$file]=1
    while read -r header; do
        [[ -n $header ]] || continue
        case $header in
            compare/*) pending+=("$header") ;;
            *)
                if [[ " $engine_may_include " != *" $header "* ]]; then
                    echo "$file (comparison engine) includes $header"
                    status=1
                fi
                ;;
        esac
    done < <(included_folders "$file")
done

# Names that differ only in case collide on the usual file systems of two desktop platforms.
collisions=$(git ls-files 2>/dev/null | sort -f | uniq -di || true)
if [[ -n $collisions ]]; then
    echo "file names that differ only in case: $collisions"
    status=1
fi

exit $status
