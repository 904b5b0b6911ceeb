# Installing and packaging Kelto.
#
# Layout under the install prefix:
#   lib/kelto/         the program folder: Kelto, Keltoupdate, the eleven skins, DBKelto/ (empty:
#                      the database is made at first start) and Back/
#   bin/kelto          the launcher: runs Kelto from the user's own program folder (see its comments)
#   share/applications/kelto.desktop, share/icons/hicolor/scalable/apps/kelto.svg
#   share/doc/kelto/   copyright (Debian's machine-readable format) and changelog.gz
#
#   cmake --install build --prefix <dir>      lays it out
#   cpack -G DEB / cpack -G STGZ (in build/)  the Debian package and the self-extracting installer
set(KELTO_INSTALL_FOLDER lib/kelto)

# Both programs bind every symbol at start, so that the relocation table can be read-only
# throughout (Debian's hardening: -z relro, which the compiler gives, with -z now).
target_link_options(Kelto PRIVATE "LINKER:-z,now")
target_link_options(Keltoupdate PRIVATE "LINKER:-z,now")

install(TARGETS Kelto Keltoupdate RUNTIME DESTINATION ${KELTO_INSTALL_FOLDER})
install(FILES ${KELTO_SKIN_PATHS} DESTINATION ${KELTO_INSTALL_FOLDER})
install(DIRECTORY DESTINATION ${KELTO_INSTALL_FOLDER}/DBKelto)
install(DIRECTORY DESTINATION ${KELTO_INSTALL_FOLDER}/Back)
install(PROGRAMS ${CMAKE_CURRENT_LIST_DIR}/kelto DESTINATION bin)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/kelto.svg DESTINATION share/icons/hicolor/scalable/apps)

# The changelog's newest entry names the version the package is built as.
file(STRINGS ${CMAKE_CURRENT_LIST_DIR}/changelog KELTO_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT KELTO_CHANGELOG_TOP MATCHES "^kelto \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()
# Compressed as Debian wants it: at most compression, without a name or time stamp of its own.
find_program(KELTO_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/changelog
    COMMAND ${KELTO_GZIP} -9nf ${CMAKE_BINARY_DIR}/changelog
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog VERBATIM)
add_custom_target(kelto_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/copyright ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION share/doc/kelto)
# The menu entry names the launcher by its absolute path, known only when installing: the prefix
# given to "cmake --install", or the package's prefix when CPack installs.
install(CODE "
    file(READ \"${CMAKE_CURRENT_LIST_DIR}/kelto.desktop.in\" entry)
    string(REPLACE \"@KELTO_LAUNCHER@\" \"\${CMAKE_INSTALL_PREFIX}/bin/kelto\" entry \"\${entry}\")
    file(WRITE \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/kelto.desktop\" \"\${entry}\")
    message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/applications/kelto.desktop\")
")

set(CPACK_PACKAGE_NAME Kelto)
set(CPACK_PACKAGE_VENDOR Kelto)
set(CPACK_PACKAGE_CONTACT "Kelto <support@kelto.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Defence mechanisms questionnaire for psychologists and clinics")
# The long description as the package shows it: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Kelto keeps a register of examinees, lets each answer a 40-item self-report
questionnaire of defence mechanisms on screen, scores the answers into 20
mechanism scores and three style scores, shows a result sheet and prints a
one-page report under the clinic's name. Its texts are Persian.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Kelto-${PROJECT_VERSION}-Linux)
set(CPACK_STRIP_FILES ON)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
set(CPACK_GENERATOR DEB STGZ)
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackProject.cmake)

# The self-extracting installer: published as setup-Kelto.exe by tools/release/make-release.sh.
set(CPACK_STGZ_HEADER_FILE ${CMAKE_CURRENT_LIST_DIR}/setup-header.sh.in)

set(CPACK_DEBIAN_PACKAGE_NAME kelto)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE http://www.kelto.example)
# The Qt libraries the programs link come from dpkg-shlibdeps; what they load at run time is named
# here: the SQLite driver, Qt's own Persian texts and the Persian and Latin font families.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, libqt6svg6, qt6-translations-l10n, fonts-farsiweb, \
fonts-noto-core, fontconfig")

include(CPack)
