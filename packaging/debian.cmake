# What `cmake --install` puts in place on a POSIX system, and the Debian
# package made of it: the programs, their manual pages, the licence as a
# machine-readable copyright file and the changelog.
# Pages and changelog go out compressed, as Debian wants them; -n keeps no
# name or time stamp in the file, so the same text gives the same bytes.
set(sources packaging/changelog)
foreach(program IN LISTS PROGRAMS)
  install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${PROJECT_BINARY_DIR}/compressed/${program}.1.gz
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  list(APPEND sources man/${program}.1)
endforeach()
find_program(GZIP gzip REQUIRED)
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/compressed)
set(compressed "")
foreach(source IN LISTS sources)
  get_filename_component(name ${source} NAME)
  set(output ${PROJECT_BINARY_DIR}/compressed/${name}.gz)
  add_custom_command(OUTPUT ${output}
                     COMMAND ${GZIP} -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${output}
                     DEPENDS ${source})
  list(APPEND compressed ${output})
endforeach()
add_custom_target(compressed ALL DEPENDS ${compressed})
install(FILES ${PROJECT_BINARY_DIR}/compressed/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The licence in Debian's machine-readable form, made from LICENSE.
file(READ LICENSE licence)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${licence}")
set(holder "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*\n\n(Permission)" "\\1" terms "${licence}")
string(STRIP "${terms}" terms)
string(REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REPLACE "\n" "\n " terms "${terms}")
file(WRITE ${PROJECT_BINARY_DIR}/copyright
"Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: listprograms

Files: *
Copyright: ${holder}
License: Expat
 ${terms}
")
install(FILES ${PROJECT_BINARY_DIR}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian's own files go only into the package, never into a plain install.
install(FILES packaging/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME listprograms COMPONENT debian EXCLUDE_FROM_ALL)
set(CPACK_COMPONENTS_ALL Unspecified debian)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)

set(CPACK_PACKAGE_NAME listprograms)
set(CPACK_PACKAGE_CONTACT "List programs developers <dev@listprograms.local>")
# CPack puts the summary (the project's DESCRIPTION) first, as the synopsis.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Seven small programs, each showing one operation on a singly linked list
built from what you type: a queue, a double-ended queue, a stack, removal
of the first multiple of five, removal by position, insertion of a mark
before every star, and removal of every third character. Each prints the
list before and after its operation, to the character.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_GENERATOR DEB)
