# What a cross-build takes from the build machine: the header-only libraries (only their own folders,
# never the whole Linux /usr/include) and GoogleTest compiled from the sources Debian ships.
# Included before the project's warning flags, so GoogleTest builds with its own.

set(_staged ${CMAKE_BINARY_DIR}/host-headers)
foreach(_lib nlohmann CLI)
  if(NOT EXISTS /usr/include/${_lib})
    message(FATAL_ERROR "/usr/include/${_lib} is missing: install nlohmann-json3-dev and libcli11-dev.")
  endif()
  file(COPY /usr/include/${_lib} DESTINATION ${_staged})
endforeach()

add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${_staged})
add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${_staged})

if(ORVIK_BUILD_TESTS)
  set(ORVIK_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources (Debian: libgtest-dev)")
  if(NOT EXISTS ${ORVIK_GTEST_SOURCE}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${ORVIK_GTEST_SOURCE}: install libgtest-dev and libgmock-dev.")
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ORVIK_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
