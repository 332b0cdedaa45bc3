# Cross-builds the Windows programs with MinGW-w64 (Debian package
# g++-mingw-w64-x86-64), to be run here under wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
find_program(WINE NAMES wine wine64 PATHS /usr/lib/wine)
find_program(SETARCH setarch)
if(WINE AND SETARCH)
  # About one wine start in 3,000 fails on a randomized address layout ("failed
  # to map the shared user data", status 1, nothing printed) or at its exit;
  # with a fixed layout none has, in 12,000 runs.
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SETARCH} -R ${WINE})
elseif(WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${WINE})
endif()
