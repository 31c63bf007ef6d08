# The release package of the Windows build: `cmake --build --preset windows --target package` writes
# Tovarin-<version>-win64.zip into build/windows. It holds one folder with the programs, the README as README.txt
# and the licence as LICENSE.txt. A folder of its own, because a player unpacks it anywhere and copies the programs
# into the game folder, whose own README.txt must not be overwritten.

# Every program of the release, by its target name: the window and the command line.
set(TOVARIN_PACKAGE_PROGRAMS Tovarin tovarin-cli)

install(TARGETS ${TOVARIN_PACKAGE_PROGRAMS} RUNTIME DESTINATION .)

# A text file as a player on Windows opens it: named .txt and with CRLF line ends. It is written again whenever its
# source changes.
function(tovarin_package_text source name)
  file(READ ${source} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  file(GENERATE OUTPUT ${PROJECT_BINARY_DIR}/package-texts/${name} CONTENT "${text}" NEWLINE_STYLE CRLF)
  set_property(DIRECTORY ${PROJECT_SOURCE_DIR} APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  install(FILES ${PROJECT_BINARY_DIR}/package-texts/${name} DESTINATION .)
endfunction()

tovarin_package_text(${PROJECT_SOURCE_DIR}/README.md README.txt)
tovarin_package_text(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tovarin)
set(CPACK_PACKAGE_VENDOR "The Tovarin team")
set(CPACK_PACKAGE_FILE_NAME Tovarin-${PROJECT_VERSION}-win64)
include(CPack)
