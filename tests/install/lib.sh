# Shared by the installation tests: how they fail, skip and look at an installed tree.
# shellcheck shell=bash
set -euo pipefail

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# ctest counts this status as skipped (SKIP_RETURN_CODE).
skip() {
    echo "SKIP: $*"
    exit 77
}

need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || skip "$tool is not installed (tools/install-dependencies.sh)"
    done
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The programs and tools under test keep their settings and caches in a home of their own.
export HOME=$scratch/home
unset XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME
mkdir "$HOME"

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Every file an installation holds, relative to its prefix, with the app id filled in; with
# "package", also those only the Debian package holds.
expected_files() {
    local id=$1 lists=("$here/installed-files.txt")
    [ "${2-}" = package ] && lists+=("$here/packaged-files.txt")
    cat "${lists[@]}" | sed "s/@ID@/$id/g"
}

# Fails unless PREFIX holds exactly the expected files (no more, no fewer); "package" as for
# expected_files.
check_layout() {
    local prefix=$1 id=$2
    expected_files "$id" "${3-}" | sort >"$scratch/expected"
    (cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort) >"$scratch/found"
    diff -u "$scratch/expected" "$scratch/found" >"$scratch/layout.diff" ||
        fail "installed files differ from installed-files.txt (- missing, + unexpected):
$(cat "$scratch/layout.diff")"
    [ -x "$prefix/bin/tarnwick" ] && [ -x "$prefix/bin/tarnwick-cli" ] ||
        fail "the programs are not executable"
}

# Runs the installed programs: both answer --version, and without a display for the window.
check_programs_run() {
    local prefix=$1 version=$2 out
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/tarnwick" --version) ||
        fail "tarnwick --version failed"
    [ "$out" = "tarnwick $version" ] || fail "tarnwick --version printed '$out'"
    out=$("$prefix/bin/tarnwick-cli" --version) || fail "tarnwick-cli --version failed"
    [ "$out" = "tarnwick-cli $version" ] || fail "tarnwick-cli --version printed '$out'"
    local samples=$prefix/share/tarnwick/Samples status=0
    "$prefix/bin/tarnwick-cli" lines "$samples/sample1.txt" "$samples/sample2.txt" \
        >"$scratch/report" || status=$?
    [ "$status" -eq 1 ] && grep -q '^--- sample1.txt: ' "$scratch/report" ||
        fail "tarnwick-cli on the installed samples (status $status):
$(cat "$scratch/report")"
}

# The window of the installed copy, offscreen: it finds the installed samples and hand pointer.
check_window_finds_samples() {
    local prefix=$1 gui_tests=$2
    [ -x "$gui_tests" ] || skip "$gui_tests is not built"
    TARNWICK_INSTALLED_PREFIX=$prefix QT_QPA_PLATFORM=offscreen \
        "$gui_tests" --gtest_filter='InstalledProgramTest.*' --gtest_brief=1 >"$scratch/window" 2>&1 ||
        fail "the installed window:
$(cat "$scratch/window")"
    grep -q '1 test' "$scratch/window" && ! grep -q SKIPPED "$scratch/window" ||
        fail "the installed window was not tested:
$(cat "$scratch/window")"
}

# Makes the Debian package of BUILD_DIR into the scratch folder (cpack's own work folder
# included) and sets `deb` to its path.
build_debian_package() {
    local build=$1 version=$2 arch
    arch=$(dpkg --print-architecture)
    (cd "$build" && cpack -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1 ||
        fail "cpack: $(cat "$scratch/cpack.log")"
    deb=$scratch/out/tarnwick_${version}_${arch}.deb
    [ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$scratch/out")"
}
