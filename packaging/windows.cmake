# The Windows archive: a folder to unpack and run, the programs beside the
# README and the licence.
foreach(program IN LISTS PROGRAMS)
  install(TARGETS ${program} RUNTIME DESTINATION .)
endforeach()
install(FILES README.md LICENSE DESTINATION .)

set(CPACK_PACKAGE_NAME listprograms)
set(CPACK_PACKAGE_FILE_NAME listprograms-${PROJECT_VERSION}-win64)
set(CPACK_GENERATOR ZIP)
