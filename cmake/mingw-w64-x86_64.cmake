# Cross-builds the Windows program on Debian with MinGW-w64 (posix threads). Everything is linked
# statically, so the executables need no MinGW or C++ runtime DLL beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TANU_MINGW_TARGET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TANU_MINGW_TARGET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TANU_MINGW_TARGET}-g++-posix)
set(CMAKE_RC_COMPILER ${TANU_MINGW_TARGET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TANU_MINGW_TARGET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
