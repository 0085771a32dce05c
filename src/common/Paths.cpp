#include "common/Paths.h"

#include "common/FileError.h"
#include "common/NativePath.h"
#include "common/Text.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace orvik {

namespace {

bool IsSeparator(char c)
{
#ifdef _WIN32
    return c == '/' || c == '\\' || c == ':';
#else
    return c == '/';
#endif
}

} // namespace

std::string GameDirectory(const std::string& archivePath)
{
    for (std::size_t i = archivePath.size(); i > 0; --i)
        if (IsSeparator(archivePath[i - 1]))
            return archivePath.substr(0, i);
    return {};
}

std::string FindInFolder(const std::string& dir, const std::string& name)
{
    // The names are compared as listed rather than asked for, because a file system that ignores
    // case (Windows, a FAT stick) says any spelling exists; the name is reported as it is on disk.
    const std::string exact = dir + name;
    const std::string wanted = FoldLower(name);
    std::string folded;
    std::error_code ec;
    const fs::path folder = dir.empty() ? fs::path(".") : PathFromUtf8(dir);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = PathToUtf8(it->path().filename());
        if (entry == name)
            return exact;
        if (folded.empty() && FoldLower(entry) == wanted)
            folded = dir + entry;
    }
    return folded.empty() ? exact : folded;
}

#ifdef _WIN32
namespace {

bool IsWindowsDeviceName(std::string_view name)
{
    std::string stem = FoldLower(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ')
        stem.pop_back();
    static const char* const devices[] = {"con", "prn", "aux", "nul", "conin$", "conout$"};
    for (const char* d : devices)
        if (stem == d)
            return true;
    // COM1-COM9, LPT1-LPT9 (and the superscript digits Windows also takes).
    if (stem.size() >= 4 && (stem.compare(0, 3, "com") == 0 || stem.compare(0, 3, "lpt") == 0)) {
        const std::string_view digit = std::string_view(stem).substr(3);
        return (digit.size() == 1 && digit[0] >= '1' && digit[0] <= '9') || digit == "\xB9" || digit == "\xB2" ||
               digit == "\xB3" || digit == "\xC2\xB9" || digit == "\xC2\xB2" || digit == "\xC2\xB3";
    }
    return false;
}

} // namespace
#endif

bool IsSafeFileName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
#ifdef _WIN32
    if (IsWindowsDeviceName(name) || name.back() == '.' || name.back() == ' ')
        return false;
#endif
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

bool IsSafeScriptName(std::string_view name)
{
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F)
            return false;
        switch (c) {
        case ' ':
        case '&':
        case '|':
        case '<':
        case '>':
        case '^':
        case '%':
        case '"': return false;
        default: break;
        }
    }
    return true;
}

TempDir::TempDir()
{
    static std::atomic<unsigned> counter{0};
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        base = fs::current_path(ec);
    std::random_device rd;
    const auto stamp = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("orvik-" + std::to_string(stamp % 1000000007ULL) + "-" +
                                           std::to_string(rd()) + "-" + std::to_string(counter++));
        // create_directory fails when the name exists, so the folder is ours alone.
        if (fs::create_directory(candidate, ec) && !ec) {
            fs::permissions(candidate, fs::perms::owner_all, fs::perm_options::replace, ec);
            m_path = PathToUtf8(candidate);
            if (!m_path.empty() && m_path.back() != fs::path::preferred_separator)
                m_path += static_cast<char>(fs::path::preferred_separator);
            return;
        }
    }
    throw FileError(FileErrorKind::AccessDenied, PathToUtf8(base));
}

TempDir::~TempDir()
{
    std::error_code ec;
    if (!m_path.empty())
        fs::remove_all(PathFromUtf8(m_path), ec);
}

} // namespace orvik
