#pragma once
// Shared test helpers: a scratch folder per test and small file helpers.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace orvik::test {

// A fresh folder, removed with its contents at the end of the test.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    // The folder with a trailing '/'.
    const std::string& Path() const { return m_path; }
    std::string File(const std::string& name) const { return m_path + name; }

private:
    std::string m_path;
};

std::vector<std::uint8_t> ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::string ReadText(const std::string& path);
bool Exists(const std::string& path);
// Names of the files in a folder, sorted.
std::vector<std::string> ListFolder(const std::string& dir);
// The name a file gets when it is created under name (Windows stores names in UTF-16, so an
// 8-bit name comes back as the letters it stands for; elsewhere it is unchanged).
std::string StoredName(const std::string& name);

// Makes link point at target; false where the system will not (Windows without the privilege,
// Wine), and the test then skips what needs it.
bool MakeSymlink(const std::string& target, const std::string& link);
inline constexpr const char* kNoSymlinks = "symbolic links cannot be made here (Windows without the privilege, Wine)";

} // namespace orvik::test
