#include "common/MappedFile.h"

#include <cstdio>
#include <filesystem>
#include <new>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define ORVIK_HAVE_MMAP 1
#endif

namespace orvik {

MappedFile::~MappedFile() { Release(); }

void MappedFile::Release()
{
#ifdef ORVIK_HAVE_MMAP
    if (m_mapped && m_data)
        munmap(const_cast<std::uint8_t*>(m_data), m_size);
#endif
    m_copy.reset();
    m_data = nullptr;
    m_size = 0;
    m_mapped = false;
}

bool MappedFile::Open(const std::string& path)
{
    Release();
    if (path.empty())
        return false;
#ifdef ORVIK_HAVE_MMAP
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(info.st_size);
    if (size > 0 && static_cast<off_t>(size) == info.st_size) {
        int flags = MAP_PRIVATE;
#ifdef MAP_POPULATE
        flags |= MAP_POPULATE;  // one call maps every page instead of one fault per page
#endif
        void* data = ::mmap(nullptr, size, PROT_READ, flags, fd, 0);
        if (data != MAP_FAILED) {
            ::madvise(data, size, MADV_SEQUENTIAL);
            ::close(fd);
            m_data = static_cast<const std::uint8_t*>(data);
            m_size = size;
            m_mapped = true;
            return true;
        }
    }
    ::close(fd);
#endif
    // Empty files and systems without mapping: read the bytes.
    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(path, ec);
    if (ec || static_cast<std::size_t>(fileSize) != fileSize)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    const auto length = static_cast<std::size_t>(fileSize);
    m_copy.reset(new (std::nothrow) std::uint8_t[length == 0 ? 1 : length]);
    const bool ok = m_copy && std::fread(m_copy.get(), 1, length, file) == length;
    std::fclose(file);
    if (!ok) {
        m_copy.reset();
        return false;
    }
    m_data = m_copy.get();
    m_size = length;
    return true;
}

} // namespace orvik
