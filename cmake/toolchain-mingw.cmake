# Cross-build for Windows with Debian's MinGW-w64 "-posix" compilers (std::thread needs them).
# QEL_MINGW_ARCH: x86_64 (default) or i686. Tests run under wine through the cross emulator.
set(QEL_MINGW_ARCH "x86_64" CACHE STRING "MinGW-w64 target: x86_64 or i686")
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QEL_MINGW_ARCH})
set(triple ${QEL_MINGW_ARCH}-w64-mingw32)

set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Debian's wine starts 32- and 64-bit programs alike.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
