# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads), for
# scripts/build-windows.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TSUMUGI_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TSUMUGI_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TSUMUGI_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TSUMUGI_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TSUMUGI_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# zlib linked in, not beside the program.
set(ZLIB_LIBRARY /usr/${TSUMUGI_MINGW}/lib/libz.a CACHE FILEPATH "static zlib")
