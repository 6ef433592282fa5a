#!/usr/bin/env bash
# Includes between the source folders go one way: the desktop layer at the bottom, the window on
# it, the comparisons and file commands on both, and the command-line tool beside the window.
# The comparison engine itself stays plain C++ that a program without widgets can link.
#
# Includes are read as the compiler reads them: any spacing around the "#", quotes or angle
# brackets, comments left out; a name in quotes is looked for beside the including file first,
# then, like one in angle brackets, from the top of the tree (the one include folder the sources
# are built with). Every C++ file of each folder is looked at, in subfolders too.
# tests/structure/include_directions_selftest.sh feeds it a tree with each kind of fault.
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

# The engine (every file of compare/ but the procedures that run it on the panes) takes only these
# from the desktop layer.
engine_may_include="platform/LargePages.h"

sources_of() { # folder... -> its C++ files, one a line
    find "$@" -type f \( -name '*.h' -o -name '*.hh' -o -name '*.hpp' -o -name '*.hxx' \
        -o -name '*.cpp' -o -name '*.cc' -o -name '*.cxx' -o -name '*.inc' -o -name '*.ipp' \) |
        LC_ALL=C sort
}

# "file<TAB>header" for each include of the files given on stdin that names a file of the tree,
# both as paths from the top of the tree.
project_includes() {
    perl -e '
        use strict;
        sub tidy { # a path with "." and ".." worked out; undef when it leaves the tree
            my @kept;
            for my $part (split m{/+}, shift) {
                next if $part eq "." || $part eq "";
                if ($part eq "..") { return undef unless @kept; pop @kept; }
                else { push @kept, $part; }
            }
            return join "/", @kept;
        }
        while (my $file = <STDIN>) {
            chomp $file;
            open my $in, "<", $file or die "$file: $!\n";
            local $/;
            my $code = <$in>;
            close $in;
            $code =~ s/\\\n//g; # continued lines are one line
            # Comments go; string and character literals stay, so that "/*" in one starts none.
            $code =~ s{("(?:\\.|[^"\\\n])*"|\x27(?:\\.|[^\x27\\\n])*\x27)|/\*.*?\*/|//[^\n]*}
                      {defined $1 ? $1 : " "}gse;
            (my $folder = $file) =~ s{[^/]*$}{};
            while ($code =~ /^[ \t]*#[ \t]*include[ \t]*(?:"([^"\n]+)"|<([^>\n]+)>)/mg) {
                my @tries = defined $1 ? ("$folder$1", $1) : ($2);
                for my $try (@tries) {
                    my $path = tidy($try);
                    if (defined $path && -f $path) { print "$file\t$path\n"; last; }
                }
            }
        }'
}

for folder in "${!allowed[@]}"; do
    [[ -d $folder ]] || continue
    while IFS=$'\t' read -r file header; do
        if [[ " ${allowed[$folder]} " != *" ${header%%/*} "* ]]; then
            echo "$file includes $header: $folder/ may include only from ${allowed[$folder]}"
            status=1
        fi
    done < <(sources_of "$folder" | project_includes)
done

# The sources compare/CMakeLists.txt gives a library in target_sources(), comments left out.
listed_sources() { # library
    sed 's/#.*//' compare/CMakeLists.txt | tr '\n' ' ' |
        grep -oE "target_sources\($1[[:space:]][^)]*\)" |
        grep -oE '[A-Za-z0-9_./-]+\.(cpp|cc|cxx|h|hpp)' | sed 's|^|compare/|' || true
}

# The procedures: the sources the window's libraries take from compare/, with their headers.
declare -A procedure=()
for source in $(listed_sources tarnwick_core) $(listed_sources tarnwick_ui); do
    procedure[$source]=1
    procedure[${source%.*}.h]=1
done

# The engine: its listed sources and every other file of compare/, and what they reach there.
declare -A seen=()
pending=($(listed_sources tarnwick_compare))
for file in $(sources_of compare); do
    [[ -n ${procedure[$file]:-} ]] || pending+=("$file")
done
while ((${#pending[@]})); do
    file=${pending[-1]}
    unset 'pending[-1]'
    [[ -e $file && -z ${seen[$file]:-} ]] || continue
    seen[$file]=1
    while IFS=$'\t' read -r _ header; do
        case $header in
            compare/*) pending+=("$header") ;;
            *)
                if [[ " $engine_may_include " != *" $header "* ]]; then
                    echo "$file (comparison engine) includes $header"
                    status=1
                fi
                ;;
        esac
    done < <(echo "$file" | project_includes)
done

# Names that differ only in case collide on the usual file systems of two desktop platforms.
collisions=$(git ls-files 2>/dev/null | sort -f | uniq -di || true)
if [[ -n $collisions ]]; then
    echo "file names that differ only in case: $collisions"
    status=1
fi

exit $status
