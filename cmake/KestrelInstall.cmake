# Installing Kestrel as a Linux program: the two programs, their manual
# pages, and for the desktop program its menu entry, icon and AppStream
# metainfo; then a Debian package, made by `cpack -G DEB` in the build folder.
# Nothing else is installed: the libraries are static and only for building.
include(GNUInstallDirs)

set(kestrel_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(kestrel_man_folder ${PROJECT_BINARY_DIR}/man)
set(KESTREL_APP_ID io.github.kestrel_roms.kestrel)

# `kestrel-cli --version` and the manual pages tell the project's version.
target_compile_definitions(kestrel_cli PRIVATE KESTREL_VERSION="${PROJECT_VERSION}")

install(TARGETS kestrel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# kestrel-cli(1) is made from the program's own --help, so it follows the
# options as they change.
find_program(KESTREL_HELP2MAN help2man)
if(KESTREL_HELP2MAN)
  add_custom_command(
    OUTPUT ${kestrel_man_folder}/kestrel-cli.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${kestrel_man_folder}
    COMMAND sh ${kestrel_packaging}/make-cli-man-page.sh
            ${KESTREL_HELP2MAN} $<TARGET_FILE:kestrel-cli> ${kestrel_packaging}/kestrel-cli.h2m
            ${kestrel_man_folder}/kestrel-cli.1
    DEPENDS kestrel-cli ${kestrel_packaging}/make-cli-man-page.sh ${kestrel_packaging}/kestrel-cli.h2m
    COMMENT "Writing the manual page kestrel-cli(1)"
    VERBATIM)
  add_custom_target(kestrel-cli-man-page ALL DEPENDS ${kestrel_man_folder}/kestrel-cli.1.gz)
  install(FILES ${kestrel_man_folder}/kestrel-cli.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  message(STATUS "help2man not found: the manual page kestrel-cli(1) is left out")
endif()

if(TARGET kestrel)
  install(TARGETS kestrel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

  # kestrel(1) is short and written by hand: the desktop program has no --help.
  configure_file(${kestrel_packaging}/kestrel.1.in ${kestrel_man_folder}/kestrel.1 @ONLY)
  add_custom_command(
    OUTPUT ${kestrel_man_folder}/kestrel.1.gz
    COMMAND gzip -9nfk ${kestrel_man_folder}/kestrel.1
    DEPENDS ${kestrel_man_folder}/kestrel.1
    VERBATIM)
  add_custom_target(kestrel-man-page ALL DEPENDS ${kestrel_man_folder}/kestrel.1.gz)
  install(FILES ${kestrel_man_folder}/kestrel.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

  install(FILES ${kestrel_packaging}/kestrel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${kestrel_packaging}/${KESTREL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${kestrel_packaging}/icons/kestrel.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${kestrel_packaging}/icons/kestrel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME kestrel.png)
  endforeach()
endif()

# The installed tree must work from any prefix and keep its data outside it.
if(KESTREL_BUILD_TESTS)
  add_test(NAME installed_tree
           COMMAND ${CMAKE_COMMAND} -E env CMAKE=${CMAKE_COMMAND}
                   sh ${kestrel_packaging}/check-installed-tree.sh
                   ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION})
endif()

# The Debian package. Its dependencies are found from the programs' shared
# libraries by dpkg-shlibdeps (package dpkg-dev).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Kestrel developers <kestrel@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps arcade-emulator ROM sets in order")
set(CPACK_PACKAGE_DESCRIPTION
    "Kestrel learns the list of games, their ROMs (name, size, CRC-32) and
samples from an emulator (MAME, RAINE) or from a datfile, and checks ROM and
sample folders and zip files against it: it reports what is missing,
misnamed, mis-sized, corrupt or unneeded, and repairs most of it.
This package holds the desktop program kestrel and the command-line
program kestrel-cli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
