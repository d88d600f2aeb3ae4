# Cross-builds the Windows programs on Debian with MinGW-w64 (package
# g++-mingw-w64-x86-64). The programs are linked statically, so that they
# run on a bare Windows (or under Wine) without any DLL of the compiler.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HOLECHART_MINGW_PREFIX x86_64-w64-mingw32)
# The POSIX thread model, where Debian has it, gives the complete C++
# threading library; the tool itself is single-threaded either way.
find_program(HOLECHART_MINGW_CXX NAMES ${HOLECHART_MINGW_PREFIX}-g++-posix ${HOLECHART_MINGW_PREFIX}-g++)
find_program(HOLECHART_MINGW_CC NAMES ${HOLECHART_MINGW_PREFIX}-gcc-posix ${HOLECHART_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${HOLECHART_MINGW_CXX})
set(CMAKE_C_COMPILER ${HOLECHART_MINGW_CC})
set(CMAKE_RC_COMPILER ${HOLECHART_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${HOLECHART_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
