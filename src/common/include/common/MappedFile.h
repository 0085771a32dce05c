#pragma once
// A whole file as read-only bytes: mapped where the system allows it (no copy of large files),
// read into memory otherwise.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace orvik {

class MappedFile {
public:
    MappedFile() = default;
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // Never throws; false when the file cannot be opened or read.
    bool Open(const std::string& path);
    const std::uint8_t* Data() const { return m_data; }
    std::size_t Size() const { return m_size; }

private:
    void Release();

    const std::uint8_t* m_data = nullptr;
    std::size_t m_size = 0;
    bool m_mapped = false;
    std::unique_ptr<std::uint8_t[]> m_copy;
};

} // namespace orvik
