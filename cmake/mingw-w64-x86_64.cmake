# Cross-compiling the program for 64-bit Windows with Debian's mingw-w64 (posix threads, as the
# cached Qt for mingw was built): scripts/windows-build passes this file with
#   -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_PREFIX_PATH=<qt-mingw>
#   -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER   x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Qt for mingw lives outside the root: its folder, given in CMAKE_PREFIX_PATH, is searched too.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The test programs run as .exe under Wine (64-bit), from CTest and the build alike.
find_program(SAISIE_WINE wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(SAISIE_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SAISIE_WINE})
endif()
