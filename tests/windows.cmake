# Cross-built for Windows: the tables, and the key wait on a terminal, run
# under wine, all on one wineserver kept up for the whole run (a server
# started per case costs seconds each).
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(FATAL_ERROR "The Windows tests run under wine (Debian package wine64); "
                      "install it, or configure with -DBUILD_TESTING=OFF")
endif()
find_program(WINESERVER wineserver PATHS /usr/lib/wine REQUIRED)
find_program(TMUX tmux REQUIRED)
find_program(MINGW_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
set(wine_env WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix WINEDEBUG=-all)
foreach(step start stop)
  add_test(NAME wine_${step}
           COMMAND ${CMAKE_COMMAND} -E env ${wine_env} sh ${here}/wine_server.sh ${step}
                   ${WINESERVER} ${CMAKE_CROSSCOMPILING_EMULATOR})
endforeach()
set_tests_properties(wine_start PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
set_tests_properties(wine_stop PROPERTIES FIXTURES_CLEANUP wine)

foreach(program IN LISTS PROGRAMS)
  add_test(NAME ${program}
           COMMAND ${Python3_EXECUTABLE} ${here}/run_table.py $<TARGET_FILE:${program}>
                   --emulator ${CMAKE_CROSSCOMPILING_EMULATOR})
endforeach()
add_test(NAME terminal
         COMMAND ${Python3_EXECUTABLE} ${here}/terminal.py --wine $<TARGET_FILE:posremove>
                 ${CMAKE_CROSSCOMPILING_EMULATOR})
set_tests_properties(${PROGRAMS} terminal
                     PROPERTIES FIXTURES_REQUIRED wine ENVIRONMENT "${wine_env}")

add_test(NAME package
         COMMAND ${CMAKE_COMMAND} -E env OBJDUMP=${MINGW_OBJDUMP} ${Python3_EXECUTABLE}
                 ${here}/package.py ${PROJECT_BINARY_DIR} WindowsArchive)
