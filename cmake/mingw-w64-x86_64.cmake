# 64-bit Windows with Debian's MinGW-w64 (posix threads); the tests run under Wine on this machine.
#   cmake -S . -B build-windows --toolchain cmake/mingw-w64-x86_64.cmake
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ runtimes and winpthread inside each program: nothing to find beside it under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Each build folder keeps its own Wine prefix; its first start (creating the prefix) takes a while.
# No Mono or Gecko: the prefix would otherwise offer to download them. No display either: the tests
# are console programs, and Wine would otherwise open one left by an earlier step.
set(CMAKE_CROSSCOMPILING_EMULATOR
    /usr/bin/env -u DISPLAY -u WAYLAND_DISPLAY WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,mshtml= /usr/lib/wine/wine64)
