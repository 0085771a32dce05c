# Cross-build for 64-bit Windows with Debian's MinGW-w64, posix thread model (std::thread, std::mutex).
#   cmake --preset windows
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_triple x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the programs run under Wine (or on a modder's machine) without MinGW's DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests and test discovery run the Windows programs through Wine.
find_program(ORVIK_WINE NAMES wine wine64)
if(ORVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVIK_WINE})
endif()
