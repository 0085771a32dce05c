# What `cmake --install` puts where, and the packages CPack makes from it: orvik and orvik-editor, and on
# Linux the desktop entry, AppStream metainfo, hicolor icons, man pages and bash completion; on Windows
# the editor with its Qt libraries beside it.
#
# Every destination is relative to the install prefix, so an install writes nothing outside it.
if(WIN32)
  # On Windows everything lies in one folder, as users unpack and run it.
  set(CMAKE_INSTALL_BINDIR .)
endif()
include(GNUInstallDirs)
set(CMAKE_ERROR_ON_ABSOLUTE_INSTALL_DESTINATION ON)

set(ORVIK_APP_ID io.github.orvik.OrvikEditor)
set(ORVIK_RELEASE_DATE 2026-12-09)
set(ORVIK_MAINTAINER "Orvik Editor developers <orvik-editor@example.org>")
set(_pkg ${PROJECT_SOURCE_DIR}/packaging)
set(_gen ${PROJECT_BINARY_DIR}/packaging)

foreach(_program orvik orvik-editor)
  if(TARGET ${_program})
    install(TARGETS ${_program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  endif()
endforeach()

if(WIN32 AND TARGET orvik-editor)
  include(${CMAKE_CURRENT_LIST_DIR}/EditorWindows.cmake)
elseif(UNIX AND NOT APPLE)
  install(FILES ${_pkg}/${ORVIK_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  configure_file(${_pkg}/${ORVIK_APP_ID}.metainfo.xml.in ${_gen}/${ORVIK_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${_gen}/${ORVIK_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  foreach(_size 16 22 24 32 48 64 128 256)
    install(FILES ${_pkg}/icons/${_size}.png RENAME ${ORVIK_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
  endforeach()
  install(FILES ${_pkg}/icons/${ORVIK_APP_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

  install(FILES ${_pkg}/completion/orvik DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

  # Man pages and the changelog are installed compressed, as Debian wants them; gzip -n keeps the
  # output the same from build to build.
  find_program(ORVIK_GZIP gzip REQUIRED)
  set(_docdir ${CMAKE_INSTALL_DATADIR}/doc/orvik-editor)
  set(_compressed)
  foreach(_page orvik orvik-editor)
    configure_file(${_pkg}/man/${_page}.1.in ${_gen}/${_page}.1 @ONLY)
    list(APPEND _compressed ${_page}.1)
    install(FILES ${_gen}/${_page}.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endforeach()
  configure_file(${_pkg}/debian/changelog.in ${_gen}/changelog @ONLY)
  list(APPEND _compressed changelog)
  set(_outputs)
  foreach(_file ${_compressed})
    add_custom_command(OUTPUT ${_gen}/${_file}.gz
                       COMMAND ${ORVIK_GZIP} -9nf -k ${_gen}/${_file}
                       DEPENDS ${_gen}/${_file} VERBATIM)
    list(APPEND _outputs ${_gen}/${_file}.gz)
  endforeach()
  add_custom_target(orvik_packaging_files ALL DEPENDS ${_outputs})
  install(FILES ${_gen}/changelog.gz ${_pkg}/debian/copyright DESTINATION ${_docdir})
endif()

set(CPACK_PACKAGE_NAME orvik-editor)
set(CPACK_PACKAGE_VENDOR "Orvik Editor developers")
set(CPACK_PACKAGE_CONTACT "${ORVIK_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "item placement editor for Tarnhold missions")
set(CPACK_PACKAGE_DESCRIPTION
    "Orvik Editor edits the item placements of Tarnhold missions: open the game's
base archive, pick a mission, and edit its people, buildings, vehicles,
markers and objects in a table while a map shows them over the terrain.
The orvik command does the same from the command line: it lists missions,
prints and saves item tables, checks and compares missions, renders maps
and unpacks files.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Orvik Editor")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
if(WIN32)
  set(CPACK_GENERATOR ZIP NSIS)
else()
  set(CPACK_GENERATOR DEB TGZ)
endif()

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${ORVIK_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)  # a tool for a game, not a game: lintian wants games in /usr/games
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)  # Depends: from the libraries the binaries link (dpkg-shlibdeps)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://github.com/orvik/orvik-editor")
# The package's dependencies come from the binaries alone; the Qt platform plugin is loaded at run time.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-qpa-plugins")
include(CPack)
