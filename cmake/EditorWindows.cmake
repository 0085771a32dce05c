# The editor on Windows: a GUI program (no console window) with its icon, version resource and a
# per-monitor DPI-awareness manifest, and an install that places the Qt libraries, the plugins the
# programs load and the compiler's run-time libraries beside them, so that the portable .zip and the
# installer that CPack makes run on a machine with nothing else installed.
set(ORVIK_ICO ${PROJECT_SOURCE_DIR}/packaging/windows/orvik-editor.ico)
set(ORVIK_MANIFEST ${PROJECT_SOURCE_DIR}/packaging/windows/orvik-editor.manifest)
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/orvik-editor.rc.in
               ${PROJECT_BINARY_DIR}/packaging/orvik-editor.rc @ONLY)
set_target_properties(orvik-editor PROPERTIES WIN32_EXECUTABLE ON)
target_sources(orvik-editor PRIVATE ${PROJECT_BINARY_DIR}/packaging/orvik-editor.rc)
set_property(SOURCE ${PROJECT_BINARY_DIR}/packaging/orvik-editor.rc APPEND PROPERTY OBJECT_DEPENDS
             ${ORVIK_MANIFEST} ${ORVIK_ICO})

# Qt's DLLs and the plugins that a window needs: the Windows platform and the native style. PNG
# support is inside Qt Gui.
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
        DESTINATION ${CMAKE_INSTALL_BINDIR})
# orvik's render and pcx draw with the offscreen platform, which needs no window.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> $<TARGET_FILE:Qt6::QOffscreenIntegrationPlugin>
        DESTINATION ${CMAKE_INSTALL_BINDIR}/platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION ${CMAKE_INSTALL_BINDIR}/styles)
# The compiler's run-time libraries, which Qt's DLLs and the programs share: beside Qt's DLLs (where
# scripts/qt-mingw.sh puts them) or beside the compiler (a MinGW kit on Windows).
get_filename_component(_compiler_bin ${CMAKE_CXX_COMPILER} DIRECTORY)
foreach(_dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  find_file(ORVIK_RUNTIME_${_dll} ${_dll} HINTS ${ORVIK_QT_PREFIX}/bin ${_compiler_bin}
            NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT ORVIK_RUNTIME_${_dll})
    message(FATAL_ERROR "${_dll} was found neither beside Qt's DLLs nor beside the compiler.")
  endif()
  install(FILES ${ORVIK_RUNTIME_${_dll}} DESTINATION ${CMAKE_INSTALL_BINDIR})
endforeach()
# Qt's licence lets users replace its DLLs; the notice says where Qt comes from.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/windows/README-Windows.txt DESTINATION ${CMAKE_INSTALL_BINDIR})

# The installer: per user, no administrator rights, a Start-menu entry and an uninstaller; it also
# runs silently with /S. The template lives beside the other Windows packaging files.
list(PREPEND CMAKE_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
set(CPACK_NSIS_PACKAGE_NAME "Orvik Editor")
set(CPACK_NSIS_DISPLAY_NAME "Orvik Editor ${PROJECT_VERSION}")
set(CPACK_NSIS_MUI_ICON ${ORVIK_ICO})
set(CPACK_NSIS_MUI_UNIICON ${ORVIK_ICO})
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY OrvikEditor)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
