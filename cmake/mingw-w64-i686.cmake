# Cross-compiles for 32-bit Windows with Debian's MinGW-w64 (POSIX threads):
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-i686.cmake ...
# scripts/test builds the shared code with it, to keep that code standard
# C++ for a 32-bit target: no 128-bit integer, no compiler extension.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)

# Doubles in SSE2 registers, rounded to double after every operation as on
# x86_64; the x87 unit would keep 80-bit intermediates.
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

list(APPEND CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
