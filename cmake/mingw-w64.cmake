# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows with Debian's mingw-w64, in its POSIX
# threads variant: std::thread and std::mutex need it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELTO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELTO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELTO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELTO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELTO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs run under Wine or on a machine without the compiler's
# runtime libraries, so those are linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests run through Wine when cross-built on Linux.
find_program(ZELTO_WINE wine)
if(ZELTO_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZELTO_WINE})
endif()
