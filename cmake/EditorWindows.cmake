# The editor on Windows: a GUI program (no console window) with its icon and version resource, and an
# install that places the Qt libraries and plugins beside the programs (windeployqt), so the .zip
# that CPack makes runs on a machine without Qt.
set(ORVIK_ICO ${PROJECT_SOURCE_DIR}/packaging/windows/orvik-editor.ico)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/orvik-editor.rc.in
               ${PROJECT_BINARY_DIR}/packaging/orvik-editor.rc @ONLY)
set_target_properties(orvik-editor PROPERTIES WIN32_EXECUTABLE ON)
target_sources(orvik-editor PRIVATE ${PROJECT_BINARY_DIR}/packaging/orvik-editor.rc)

# windeployqt lies beside qmake in Qt's bin folder (also found through CMAKE_PREFIX_PATH or PATH).
set(_qt_bin)
if(QT6_INSTALL_PREFIX)
  list(APPEND _qt_bin "${QT6_INSTALL_PREFIX}/bin")
endif()
if(TARGET Qt6::qmake)
  foreach(_property IMPORTED_LOCATION IMPORTED_LOCATION_RELEASE)
    get_target_property(_qmake Qt6::qmake ${_property})
    if(_qmake)
      get_filename_component(_dir "${_qmake}" DIRECTORY)
      list(APPEND _qt_bin "${_dir}")
    endif()
  endforeach()
endif()
find_program(ORVIK_WINDEPLOYQT windeployqt HINTS ${_qt_bin} REQUIRED)
install(CODE "
  foreach(_exe orvik-editor.exe orvik.exe)
    execute_process(COMMAND \"${ORVIK_WINDEPLOYQT}\" --no-translations --no-system-d3d-compiler
                            --no-opengl-sw \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${_exe}\"
                    COMMAND_ERROR_IS_FATAL ANY)
  endforeach()
")
# The compiler's run-time libraries (MSVC); windeployqt copies MinGW's itself.
set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION ${CMAKE_INSTALL_BINDIR})
include(InstallRequiredSystemLibraries)
