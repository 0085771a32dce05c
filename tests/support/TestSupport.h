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

} // namespace orvik::test
