# orvik for a build without Qt (the Windows cross-build): every command except the two that write
# PNGs, which say that this build cannot. Included from src/, so paths are relative to it.
file(GLOB _cli_src CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/cli/*.cpp)
list(FILTER _cli_src EXCLUDE REGEX ".*/cli/Render\\.cpp$")
add_executable(orvik ${_cli_src} ${CMAKE_CURRENT_SOURCE_DIR}/cli/noqt/NoPng.cpp)
target_link_libraries(orvik PRIVATE orvik_core orvik_gamedata CLI11::CLI11 nlohmann_json::nlohmann_json)
