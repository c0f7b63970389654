# One Debian package of the programs, the starter icons, the program's icon,
# its menu entry and AppStream data, the manual pages, the licence and the
# changelog: `cmake --build --preset release --target package` writes it into
# the build folder. It installs under the prefix the program was built for,
# where the program looks for the packaged icons.

# Manual pages: the companions' from their --help, the window program's
# written by hand; compressed as Debian's tools compress them (no name or
# time stamp in the gzip header, so the same sources give the same bytes).
find_program(HELP2MAN_PROGRAM help2man)
if(NOT HELP2MAN_PROGRAM)
  message(FATAL_ERROR "help2man is needed for the manual pages: apt-get install help2man")
endif()
set(COFFERON_MAN_DIR ${PROJECT_BINARY_DIR}/man)
set(COFFERON_MAN_PAGES)
foreach(entry "cofferon-export|write the menu file of a saved Cofferon project"
              "cofferon-import|turn a Cofferon menu file into a project file"
              "cofferon-check|check a folder of Cofferon menu files")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 summary)
  add_custom_command(
    OUTPUT ${COFFERON_MAN_DIR}/${program}.1.gz
    COMMAND ${HELP2MAN_PROGRAM} --no-info --locale=C.UTF-8 --version-string=${PROJECT_VERSION} --name=${summary}
            --output=${COFFERON_MAN_DIR}/${program}.1 $<TARGET_FILE:${program}>
    COMMAND gzip -9nf ${COFFERON_MAN_DIR}/${program}.1
    DEPENDS ${program}
    COMMENT "Writing the manual page of ${program}"
    VERBATIM)
  list(APPEND COFFERON_MAN_PAGES ${COFFERON_MAN_DIR}/${program}.1.gz)
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/app/cofferon-generator.1.in ${COFFERON_MAN_DIR}/cofferon-generator.1 @ONLY)
add_custom_command(
  OUTPUT ${COFFERON_MAN_DIR}/cofferon-generator.1.gz
  COMMAND gzip -9nkf ${COFFERON_MAN_DIR}/cofferon-generator.1
  DEPENDS ${COFFERON_MAN_DIR}/cofferon-generator.1
  VERBATIM)
list(APPEND COFFERON_MAN_PAGES ${COFFERON_MAN_DIR}/cofferon-generator.1.gz)
set(COFFERON_CHANGELOG ${PROJECT_BINARY_DIR}/doc/changelog.gz)
add_custom_command(
  OUTPUT ${COFFERON_CHANGELOG}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/doc/changelog
  COMMAND gzip -9nf ${PROJECT_BINARY_DIR}/doc/changelog
  DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
  VERBATIM)
add_custom_target(package-docs ALL DEPENDS ${COFFERON_MAN_PAGES} ${COFFERON_CHANGELOG})
install(FILES ${COFFERON_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${COFFERON_CHANGELOG} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The licence as Debian's machine-readable copyright file.
file(READ ${PROJECT_SOURCE_DIR}/LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${licence}")
set(holder ${CMAKE_MATCH_1})
string(FIND "${licence}" "Permission is hereby granted" start)
string(SUBSTRING "${licence}" ${start} -1 terms)
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
file(WRITE ${PROJECT_BINARY_DIR}/doc/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: ${PROJECT_NAME}
Upstream-Contact: Cofferon maintainers <maintainers@cofferon.invalid>

Files: *
Copyright: ${holder}
License: Expat
 ${terms}
")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES ${PROJECT_BINARY_DIR}/doc/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

install(FILES ${PROJECT_SOURCE_DIR}/app/invalid.cofferon.generator.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# What dh_strip takes out besides the symbols: the compilers' notes.
foreach(program cofferon-generator cofferon-export cofferon-import cofferon-check)
  install(CODE "
    if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
                              \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\"
                      COMMAND_ERROR_IS_FATAL ANY)
    endif()")
endforeach()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME cofferon-generator)
set(CPACK_PACKAGE_CONTACT "Cofferon maintainers <maintainers@cofferon.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chest menu generator for the Cofferon server plugin")
# Lines of at most 80 columns; CPack indents each and marks the empty ones.
set(CPACK_PACKAGE_DESCRIPTION "A desktop tool for game-server administrators: compose one chest-style
inventory menu (1 to 6 rows of 9 slots) for the server plugin Cofferon and
write it as the plugin's YAML menu file, in UTF-8 or GB2312.

The chest shows each slot's item icon and, beside it, the slot's name and
lore with the game's colour and format codes. The work is kept as a project
file, and menu files made elsewhere can be imported.

Includes cofferon-export and cofferon-import, which write menu files and
project files from a shell, and cofferon-check, which checks a folder of
menu files: links between menus, opening commands, file names and values.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
# Libraries are found by dpkg-shlibdeps; these are what the program loads
# otherwise: the platform plugins, its face and the toolkit's Chinese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-wqy-microhei, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-arphic-uming")
include(CPack)
