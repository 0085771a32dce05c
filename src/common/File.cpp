#include "common/File.h"

#include "common/FaultPoint.h"
#include "common/FileError.h"
#include "common/NativePath.h"

#include <cerrno>
#include <utility>

#ifdef _WIN32
#include <io.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace orvik {

namespace {

// 64-bit offsets everywhere: Windows' long is 32 bits, and an archive past 2 GiB must not wrap.
int SeekTo(std::FILE* f, std::int64_t position, int whence)
{
#ifdef _WIN32
    return ::_fseeki64(f, position, whence);
#else
    return ::fseeko(f, static_cast<off_t>(position), whence);
#endif
}

std::int64_t Tell(std::FILE* f)
{
#ifdef _WIN32
    return ::_ftelli64(f);
#else
    return static_cast<std::int64_t>(::ftello(f));
#endif
}

} // namespace

File::~File()
{
    if (m_file)
        std::fclose(m_file);
}

File::File(File&& other) noexcept
    : m_file(std::exchange(other.m_file, nullptr)), m_path(std::move(other.m_path)), m_mode(other.m_mode),
      m_openErrno(other.m_openErrno)
{}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (m_file)
            std::fclose(m_file);
        m_file = std::exchange(other.m_file, nullptr);
        m_path = std::move(other.m_path);
        m_mode = other.m_mode;
        m_openErrno = other.m_openErrno;
    }
    return *this;
}

bool File::Open(const std::string& path, Mode mode)
{
    if (m_file) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_path = path;
    m_mode = mode;
    const char* how = mode == Mode::Read ? "rb" : mode == Mode::ReadWrite ? "r+b" : "wb";
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
    m_file = path.empty() ? nullptr : OpenCFile(path, how);
    m_openErrno = m_file ? 0 : (path.empty() ? ENOENT : errno);
#ifdef _WIN32
    // The C library folds several reasons (a file held open by another program, a locked one) into
    // "access denied"; the system's own code tells them apart.
    if (!m_file && _doserrno != 0 && ErrnoFromWindowsError(_doserrno) != 0)
        m_openErrno = ErrnoFromWindowsError(_doserrno);
#endif
    return m_file != nullptr;
}

void File::RequireOpen(bool) const
{
    // A file that never opened reports why it did not, by the system's reason, and names itself:
    // "access denied" on a read-only archive says far more than "not found".
    if (!m_file) {
        FileErrorKind kind = FileErrorKindFromErrno(m_openErrno);
        if (kind == FileErrorKind::None || kind == FileErrorKind::Generic)
            kind = FileErrorKind::FileNotFound;
        throw FileError(kind, m_path);
    }
}

void File::ThrowErrno(bool withName) const
{
    const int err = errno;
    FileErrorKind kind = FileErrorKindFromErrno(err);
    if (kind == FileErrorKind::None)
        kind = FileErrorKind::Generic;
    throw FileError(kind, withName ? m_path : std::string());
}

std::size_t File::Read(void* buffer, std::size_t size)
{
    RequireOpen(false);
    if (size == 0)
        return 0;
    errno = 0;
    const std::size_t got = std::fread(buffer, 1, size, m_file);
    if (got < size && std::ferror(m_file)) {
        std::clearerr(m_file);
        ThrowErrno(false);
    }
    return got;
}

void File::ReadExact(void* buffer, std::size_t size)
{
    if (Read(buffer, size) != size)
        throw FileError(FileErrorKind::EndOfFile);
}

std::int32_t File::ReadInt32()
{
    std::uint8_t b[4];
    ReadExact(b, 4);
    return GetInt32(b);
}

void File::Seek(std::int64_t position)
{
    RequireOpen(false);
    if (position < 0)
        throw FileError(FileErrorKind::BadSeek);
    errno = 0;
    if (SeekTo(m_file, position, SEEK_SET) != 0)
        ThrowErrno(false);
}

std::int64_t File::Position()
{
    RequireOpen(false);
    const std::int64_t pos = Tell(m_file);
    if (pos < 0)
        ThrowErrno(false);
    return pos;
}

std::int64_t File::Length()
{
    RequireOpen(false);
    const std::int64_t here = Tell(m_file);
    if (here < 0 || SeekTo(m_file, 0, SEEK_END) != 0)
        ThrowErrno(false);
    const std::int64_t end = Tell(m_file);
    if (end < 0 || SeekTo(m_file, here, SEEK_SET) != 0)
        ThrowErrno(false);
    return end;
}

void File::Write(const void* buffer, std::size_t size)
{
    RequireOpen(true);
    if (size == 0)
        return;
    FaultPoint("write");
    errno = 0;
    const std::size_t put = std::fwrite(buffer, 1, size, m_file);
    if (put != size) {
        const int err = errno;
        std::clearerr(m_file);
        // A write that wrote fewer bytes than asked is "disk full" unless the system said otherwise.
        FileErrorKind kind = err ? FileErrorKindFromErrno(err) : FileErrorKind::DiskFull;
        if (kind == FileErrorKind::Generic || kind == FileErrorKind::None)
            kind = FileErrorKind::DiskFull;
        throw FileError(kind, m_path);
    }
}

void File::WriteInt32(std::int32_t value)
{
    std::uint8_t b[4];
    PutInt32(b, value);
    Write(b, 4);
}

void File::Sync()
{
    RequireOpen(true);
    FaultPoint("sync");
    errno = 0;
    if (std::fflush(m_file) != 0)
        ThrowErrno(true);
#ifdef _WIN32
    if (_commit(_fileno(m_file)) != 0)
        ThrowErrno(true);
#else
    if (::fsync(fileno(m_file)) != 0 && errno != EINVAL && errno != EROFS)
        ThrowErrno(true);
#endif
}

void File::Close()
{
    if (!m_file)
        return;
    std::FILE* f = std::exchange(m_file, nullptr);
    errno = 0;
    if (std::fclose(f) != 0 && m_mode != Mode::Read)
        ThrowErrno(true);
}

#ifdef _WIN32
namespace {

// Windows' locks are mandatory: a lock over the data would stop this program's own second handle
// (the backup copy, the journal's re-read) from touching it. One byte far past any archive's end
// makes the lock advisory, as flock is: only other lockers wait for it.
bool LockFarByte(std::FILE* file, DWORD flags)
{
    OVERLAPPED beyond{};
    beyond.Offset = 0;
    beyond.OffsetHigh = 0x7FFFFFFF;
    return ::LockFileEx(reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file))), flags, 0, 1, 0, &beyond) != 0;
}

// A file system without locks (some network shares) cannot take turns; as on POSIX, saving goes on.
bool LocksUnsupported(DWORD code) { return code == ERROR_NOT_SUPPORTED || code == ERROR_INVALID_FUNCTION; }

} // namespace
#endif

void File::Lock()
{
    RequireOpen(true);
#ifdef _WIN32
    if (!LockFarByte(m_file, LOCKFILE_EXCLUSIVE_LOCK) && !LocksUnsupported(::GetLastError()))
        throw FileError(FileErrorKind::LockViolation, m_path);
#else
    int result = 0;
    do {
        result = ::flock(fileno(m_file), LOCK_EX);
    } while (result != 0 && errno == EINTR);
    // A file system without locks (some network shares) cannot take turns; the save still checks
    // the archive under its own eyes, so it goes on rather than refusing every save there.
    if (result != 0 && errno != ENOLCK && errno != EOPNOTSUPP)
        throw FileError(FileErrorKind::LockViolation, m_path);
#endif
}

bool File::TryLock()
{
    RequireOpen(true);
#ifdef _WIN32
    if (LockFarByte(m_file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY))
        return true;
    const DWORD code = ::GetLastError();
    return code != ERROR_LOCK_VIOLATION && code != ERROR_IO_PENDING;
#else
    if (::flock(fileno(m_file), LOCK_EX | LOCK_NB) == 0)
        return true;
    return errno != EWOULDBLOCK;
#endif
}

void SyncFolder(const std::string& folder)
{
#ifndef _WIN32
    // Windows makes renames and deletes durable with the file system's own log; POSIX asks for a
    // sync of the folder itself.
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
#else
    (void)folder;
#endif
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path)
{
    File f(path, File::Mode::Read);
    const auto len = f.Length();
    std::vector<std::uint8_t> data(static_cast<std::size_t>(len));
    f.Seek(0);
    data.resize(f.Read(data.data(), data.size()));
    return data;
}

void WriteWholeFile(const std::string& path, const void* data, std::size_t size)
{
    File f(path, File::Mode::CreateWrite);
    f.Write(data, size); // throws kind 2 with the path when the file could not be created
    f.Close();
}

} // namespace orvik
