#include "support/TestSupport.h"

#include "common/NativePath.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace fs = std::filesystem;

namespace orvik::test {

ScratchDir::ScratchDir()
{
    static std::atomic<int> counter{0};
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
        fs::path p =
            fs::temp_directory_path() / ("orvik-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        if (fs::create_directory(p)) {
            m_path = PathToUtf8(p) + "/";
            return;
        }
    }
    throw std::runtime_error("cannot make a scratch folder");
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    fs::permissions(PathFromUtf8(m_path), fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(PathFromUtf8(m_path), ec);
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(PathFromUtf8(path), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadText(const std::string& path)
{
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(PathFromUtf8(path), ec);
}

std::vector<std::string> ListFolder(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(PathFromUtf8(dir)))
        names.push_back(PathToUtf8(e.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string StoredName(const std::string& name) { return PathToUtf8(PathFromUtf8(name)); }

bool MakeSymlink(const std::string& target, const std::string& link)
{
    std::error_code ec;
    fs::create_symlink(PathFromUtf8(target), PathFromUtf8(link), ec);
    return !ec;
}

} // namespace orvik::test
