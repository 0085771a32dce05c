#pragma once
// Paths are UTF-8 strings inside the program. On Windows the narrow file calls would read them in
// the ANSI code page, which cannot hold most of the world's folder names (a Cyrillic user name, an
// emoji), so every path reaches the system through these helpers and the wide calls.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace orvik {

std::filesystem::path PathFromUtf8(const std::string& path);
std::string PathToUtf8(const std::filesystem::path& path);

// fopen with a UTF-8 path; errno (and on Windows _doserrno) tell why it failed.
std::FILE* OpenCFile(const std::string& path, const char* mode);

#ifdef _WIN32
std::wstring WidePath(const std::string& path);
#endif

// The program's arguments as UTF-8. On Windows they are read again from the wide command line (argv
// holds only what the ANSI code page can).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard input and output carry UTF-8 bytes as they are: on Windows the console shows UTF-8 and
// no line end is turned into CR LF, so a table printed there is byte for byte the one printed on
// Linux. Nothing to do elsewhere.
void UseUtf8StandardStreams();

} // namespace orvik
