#!/usr/bin/env bash
# `cmake --install` into a scratch prefix puts every file in its place, and the installed
# programs run and find what was installed with them.
#
# usage: install_layout.sh BUILD_DIR APP_ID VERSION GUI_TESTS
source "$(dirname "$0")/lib.sh"
build=$1 id=$2 version=$3 gui_tests=$4

cmake --install "$build" --prefix "$scratch/prefix" >"$scratch/install.log" ||
    fail "cmake --install: $(cat "$scratch/install.log")"
check_layout "$scratch/prefix" "$id"
check_programs_run "$scratch/prefix" "$version"
check_window_finds_samples "$scratch/prefix" "$gui_tests"
echo "installed and ran from $scratch/prefix"
