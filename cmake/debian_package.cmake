# The command line for Linux: `cmake --install` puts tovarin-cli into the prefix's bin folder (/usr/local/bin by
# default), and `cmake --build --preset release --target package` writes the Debian package
# tovarin-cli_<version>_amd64.deb into build/release, which installs it as /usr/bin/tovarin-cli.
include(GNUInstallDirs)

install(TARGETS tovarin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Debian wants the licence as the package's copyright file, beside its documentation.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tovarin-cli RENAME copyright)
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/tovarin-cli)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tovarin-cli)
set(CPACK_PACKAGE_VENDOR "The Tovarin team")
set(CPACK_PACKAGE_CONTACT "The Tovarin team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ship, gun and missile editor for Vantorsk Ashfall, command line")
# The summary becomes the description's first line.
set(CPACK_PACKAGE_DESCRIPTION "tovarin-cli edits the data files of the space-combat game Vantorsk Ashfall and its
expansion Nightwatch from the command line: ships, guns and missiles, ship sheets for
spreadsheets, and the originals it keeps before changing a file.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The package's file name as Debian names it: tovarin-cli_1.0.0_amd64.deb.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The C and C++ runtime libraries it needs, found by dpkg-shlibdeps (dpkg-dev, with file).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# A package carries no debug sections.
set(CPACK_STRIP_FILES ON)
include(CPack)
