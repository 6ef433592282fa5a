# `cpack -G DEB` in the build folder makes tarnwick_<version>_<arch>.deb of everything the
# install rules install, under /usr, with its dependencies read from the binaries. The project
# makes its own package, so the package is native (no Debian revision in its version) and its
# changelog is usr/share/doc/tarnwick/changelog.gz. The installation checks run lintian on it.
set(CPACK_PACKAGE_NAME tarnwick)
set(CPACK_PACKAGE_VENDOR Quillmere)
set(CPACK_PACKAGE_CONTACT "${TARNWICK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION [=[
Tarnwick compares two plain-text files and shows where they differ, in one
window with a pane for each file. By lines, every line of one file that occurs
nowhere in the other is marked red and listed; by words, each line is paired
with the line at the same place in the other file and the words it lacks are
marked. tarnwick-cli runs the same comparisons for scripts and git difftool.]=])
set(CPACK_PACKAGE_HOMEPAGE_URL "${PROJECT_HOMEPAGE_URL}")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Tells dist/'s install rules to add the files only the package holds.
set(CPACK_CUSTOM_INSTALL_VARIABLES TARNWICK_DEBIAN_PACKAGE=ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt finds the display through a plug-in that no binary links to.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# The window's font is Arial, or its metric twin.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-liberation)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
