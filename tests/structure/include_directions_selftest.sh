#!/usr/bin/env bash
# Shows that include_directions.sh finds each kind of wrong include: a small tree that keeps every
# rule must pass, and each copy of it with one fault added must fail and name the faulty file. All
# of it happens in a scratch folder of its own.
set -euo pipefail
check=${1:?usage: include_directions_selftest.sh INCLUDE_DIRECTIONS_SCRIPT}
scratch=$(mktemp -d "${TMPDIR:-/tmp}/include_directions.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

put() { # tree file lines... : appends the lines (backslash escapes read) to the file
    local file=$1/$2
    shift 2
    mkdir -p "$(dirname "$file")"
    printf '%b\n' "$@" >> "$file"
}

# The clean tree, with what must not count as an include: commented out, a system header, a name
# beside the file, a way up and down again, the memory hint in the engine.
clean=$scratch/clean
put "$clean" platform/Pane.h '#pragma once' '#include <QString>'
put "$clean" platform/LargePages.h '#pragma once'
put "$clean" platform/Pane.cpp '#include "Pane.h"' '// #include "app/Form.h"' \
    '/* an old way:' '#include "app/Form.h"' '*/'
put "$clean" app/Form.h '#pragma once' '#include "../platform/Pane.h"' '#include <platform/Pane.h>'
put "$clean" compare/CMakeLists.txt \
    '# The engine (plain C++), and the procedures that run it on the panes.' \
    'target_sources(tarnwick_compare PRIVATE' '    Engine.cpp # lines (and words)' ')' \
    'target_sources(tarnwick_core PRIVATE' '    Procedure.cpp # runs Engine.cpp on the panes' ')'
put "$clean" compare/Lines.h '#pragma once' '#include <string_view>'
put "$clean" compare/Engine.h '#pragma once' '#include "Lines.h"'
put "$clean" compare/Engine.cpp '#include "compare/Engine.h"' '#include <platform/LargePages.h>'
put "$clean" compare/Procedure.h '#pragma once' '#include "app/Form.h"'
put "$clean" compare/Procedure.cpp '#include "compare/Procedure.h"' '#include "compare/Engine.h"'
put "$clean" files/Load.cpp '#include "app/Form.h"' '#include "platform/Pane.h"'
put "$clean" cli/Main.cpp '#include "compare/Engine.h"' '#include "platform/Pane.h"'

status=0
if ! output=$("$check" "$clean" 2>&1); then
    echo "a tree that keeps the rules was refused:"
    echo "$output"
    status=1
fi

# Each fault: what it is, the file it goes into, its lines, and the file the report must name when
# that is another.
faults=(
    '<> around a project header|platform/Pane.cpp|#include <app/Form.h>'
    'spaces after the #|platform/Pane.cpp|#   include "app/Form.h"'
    'indented, with a space before include|platform/Pane.cpp|  # include "app/Form.h"'
    'tabs|platform/Pane.cpp|#\tinclude\t"app/Form.h"'
    'no space before the name|platform/Pane.cpp|#include"app/Form.h"'
    'a line continued|platform/Pane.cpp|#include \\\n"app/Form.h"'
    'a string that only looks like a comment|platform/Pane.cpp|const char* all = "/*";\n#include "app/Form.h"\nconst char* end = "*/";'
    'a way up out of the folder|platform/Pane.cpp|#include "../app/Form.h"'
    'a file in a subfolder|platform/inner/Deep.h|#include "app/Form.h"'
    'a header of another kind|platform/Inline.hpp|#include "app/Form.h"'
    'the app including a comparison|app/Form.h|#include "compare/Engine.h"'
    'the files including the tool|files/Load.cpp|#include "cli/Main.cpp"'
    'an engine header that no source lists|compare/Helper.h|#include "platform/Pane.h"'
    'an engine header reached from the engine|compare/Lines.h|#include "app/Form.h"'
    'the engine named in a comment of the procedures|compare/Engine.cpp|#include "platform/Pane.h"'
    'the engine including a procedure|compare/Engine.h|#include "compare/Procedure.h"|compare/Procedure.h'
)
for fault in "${faults[@]}"; do
    IFS='|' read -r what file lines named <<< "$fault"
    tree=$scratch/faulty
    rm -rf "$tree"
    cp -R "$clean" "$tree"
    put "$tree" "$file" "$lines"
    if output=$("$check" "$tree" 2>&1); then
        echo "not found: $what ($file)"
        status=1
    elif [[ $output != *"${named:-$file}"* ]]; then
        echo "found, but the faulty file is not named: $what ($file): $output"
        status=1
    fi
done
exit $status
