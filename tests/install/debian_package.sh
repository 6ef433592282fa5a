#!/usr/bin/env bash
# `cpack -G DEB` makes tarnwick_<version>_<arch>.deb with computed dependencies, a maintainer, a
# description and every installed file under /usr; unpacked (never installed) into a scratch
# folder, its programs run and its window finds the installed samples.
#
# usage: debian_package.sh BUILD_DIR APP_ID VERSION GUI_TESTS
source "$(dirname "$0")/lib.sh"
build=$1 id=$2 version=$3 gui_tests=$4
need dpkg dpkg-deb dpkg-shlibdeps file

build_debian_package "$build" "$version"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tarnwick ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
field Maintainer | grep -q '@' || fail "Maintainer: $(field Maintainer)"
[ -n "$(field Description)" ] || fail "no Description"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    [[ $depends == *"$library"* ]] || fail "Depends lacks $library: $depends"
done

dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | sed 's|^\./usr/||' | sort \
    >"$scratch/listed"
expected_files "$id" package | sort | diff -u - "$scratch/listed" ||
    fail "the package's file list differs from installed-files.txt and packaged-files.txt"

dpkg-deb -x "$deb" "$scratch/root"
check_layout "$scratch/root/usr" "$id" package
check_programs_run "$scratch/root/usr" "$version"
check_window_finds_samples "$scratch/root/usr" "$gui_tests"
echo "$(basename "$deb"), Depends: $depends"
