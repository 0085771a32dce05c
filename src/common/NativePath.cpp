#include "common/NativePath.h"

#include "common/Unicode.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h> // needs windows.h first
#endif

namespace orvik {

#ifdef _WIN32

std::wstring WidePath(const std::string& path)
{
    const std::u16string wide = Utf8ToUtf16(path);
    return std::wstring(wide.begin(), wide.end());
}

std::filesystem::path PathFromUtf8(const std::string& path) { return std::filesystem::path(WidePath(path)); }

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::wstring& wide = path.native();
    return Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::FILE* OpenCFile(const std::string& path, const char* mode)
{
    return ::_wfopen(WidePath(path).c_str(), WidePath(mode).c_str());
}

void UseUtf8StandardStreams()
{
    ::SetConsoleOutputCP(CP_UTF8);
    for (std::FILE* stream : {stdin, stdout, stderr})
        ::_setmode(::_fileno(stream), _O_BINARY);
}

std::vector<std::string> Utf8Arguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    if (wide && count == argc) {
        for (int i = 0; i < count; ++i) {
            const std::wstring arg(wide[i]);
            args.push_back(Utf16ToUtf8(std::u16string(arg.begin(), arg.end())));
        }
    } else {
        args.assign(argv, argv + argc); // the two splits disagree: keep what the runtime gave
    }
    if (wide)
        ::LocalFree(wide);
    return args;
}

#else

std::filesystem::path PathFromUtf8(const std::string& path) { return std::filesystem::path(path); }

std::string PathToUtf8(const std::filesystem::path& path) { return path.string(); }

std::FILE* OpenCFile(const std::string& path, const char* mode) { return std::fopen(path.c_str(), mode); }

std::vector<std::string> Utf8Arguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

void UseUtf8StandardStreams() {}

#endif

} // namespace orvik
