#include "common/MappedFile.h"

#include "common/NativePath.h"

#include <cstdio>
#include <filesystem>
#include <new>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#define ORVIK_HAVE_MMAP 1
#elif defined(_WIN32)
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace orvik {

MappedFile::~MappedFile() { Release(); }

void MappedFile::Release()
{
#ifdef ORVIK_HAVE_MMAP
    if (m_mapped && m_data)
        munmap(const_cast<std::uint8_t*>(m_data), m_size);
#elif defined(_WIN32)
    if (m_mapped && m_data)
        ::UnmapViewOfFile(m_data);
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
        flags |= MAP_POPULATE; // one call maps every page instead of one fault per page
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
#elif defined(_WIN32)
    // Others may read, write or rename the file meanwhile, as on POSIX; the view stays valid.
    const HANDLE handle =
        ::CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER fileLength{};
    if (!::GetFileSizeEx(handle, &fileLength) || ::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return false;
    }
    const auto size = static_cast<std::size_t>(fileLength.QuadPart);
    if (size > 0 && static_cast<LONGLONG>(size) == fileLength.QuadPart) {
        const HANDLE mapping = ::CreateFileMappingW(handle, nullptr, PAGE_READONLY, 0, 0, nullptr);
        if (mapping) {
            const void* data = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
            // The view keeps the mapping and the file alive by itself.
            ::CloseHandle(mapping);
            if (data) {
                ::CloseHandle(handle);
                m_data = static_cast<const std::uint8_t*>(data);
                m_size = size;
                m_mapped = true;
                return true;
            }
        }
    }
    ::CloseHandle(handle);
#endif
    // Empty files and systems without mapping: read the bytes.
    std::error_code ec;
    const std::uintmax_t fileSize = std::filesystem::file_size(PathFromUtf8(path), ec);
    if (ec || static_cast<std::size_t>(fileSize) != fileSize)
        return false;
    std::FILE* file = OpenCFile(path, "rb");
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
