# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers, run under wine:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-mingw-w64-x86_64.cmake
# The -posix compilers provide std::thread. Programs are linked statically, so that the
# .exe needs no DLL of the compiler beside it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TORRENTIX_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TORRENTIX_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TORRENTIX_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TORRENTIX_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TORRENTIX_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")

# Tests and test discovery run the .exe files through wine; the 64-bit loader alone
# (Debian keeps it in /usr/lib/wine) needs no 32-bit wine.
find_program(TORRENTIX_WINE NAMES wine64 wine HINTS /usr/lib/wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TORRENTIX_WINE})
