# Cross-build for 64-bit Windows with Debian's MinGW-w64, posix thread model (std::thread, std::mutex).
#   cmake --preset windows -DORVIK_QT_PREFIX="$(scripts/qt-mingw.sh --prefix)"
# ORVIK_QT_PREFIX is the Qt for MinGW that scripts/qt-mingw.sh builds; without it (and with
# ORVIK_WITH_QT=OFF) only the Qt-free core, its tests and orvik without render and pcx are built.
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

if(ORVIK_QT_PREFIX)
  # Qt's packages are found under its prefix; its build tools (moc, rcc, uic) are the host's, which
  # are of the same version.
  list(APPEND CMAKE_FIND_ROOT_PATH ${ORVIK_QT_PREFIX})
  set(QT_HOST_PATH /usr)
  file(GLOB _host_qt_config /usr/lib/*/cmake/Qt6/Qt6Config.cmake)
  if(_host_qt_config)
    list(GET _host_qt_config 0 _host_qt_config)
    get_filename_component(QT_HOST_PATH_CMAKE_DIR ${_host_qt_config} DIRECTORY)
    get_filename_component(QT_HOST_PATH_CMAKE_DIR ${QT_HOST_PATH_CMAKE_DIR} DIRECTORY)
  endif()
else()
  # Without Qt every program is one file: the compiler's run time is linked in.
  set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
endif()

# Tests and test discovery run the Windows programs through Wine.
find_program(ORVIK_WINE NAMES wine wine64)
if(ORVIK_WINE AND ORVIK_QT_PREFIX)
  # Wine finds the Qt and compiler DLLs through WINEPATH.
  set(CMAKE_CROSSCOMPILING_EMULATOR env WINEPATH=${ORVIK_QT_PREFIX}/bin ${ORVIK_WINE})
elseif(ORVIK_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ORVIK_WINE})
endif()
