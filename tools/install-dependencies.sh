#!/usr/bin/env bash
# Installs, on Debian or Ubuntu, whatever of the build, test and run dependencies is missing, and
# of the packages named as arguments. Safe to run again: it installs nothing that is there already.
set -euo pipefail

packages=(
    cmake ninja-build g++                      # build
    qt6-base-dev qt6-qpa-plugins               # Qt 6 Widgets and its platform plugins
    qcoro-qt6-dev                              # coroutines on Qt's event loop
    fonts-liberation                           # metric twins of Arial, the window's font
    libgtest-dev libgmock-dev libbenchmark-dev # tests and benchmarks
    libseccomp-dev                             # tests of a disk that fails to sync
    libicu-dev                                 # normal forms, case folding, confusables
    libxxhash-dev                              # the tool's hash of lines (header only)
    xvfb xauth xdotool                         # the check in a real window
    desktop-file-utils appstream               # validators of the menu entry and metadata
    groff-base man-db                          # rendering the manual pages
    dpkg-dev file                              # the Debian package's dependencies (shlibdeps)
    lintian                                    # the check of the Debian package against policy
    git                                        # the git difftool check
    clang-format                               # the check that sources follow .clang-format
    "$@"
)

missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
