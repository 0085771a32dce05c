#include "common/OutputFile.h"

#include "common/FileError.h"
#include "common/NativePath.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace orvik {

namespace {

// The longest part of the target's name kept in the temporary name, so that a long target name
// still leaves room for the suffix within the system's name limit.
constexpr std::size_t kNameKept = 64;

std::size_t NameStart(const std::string& path)
{
#ifdef _WIN32
    const std::size_t sep = path.find_last_of("/\\:");
#else
    const std::size_t sep = path.rfind('/');
#endif
    return sep == std::string::npos ? 0 : sep + 1;
}

FileErrorKind KindOf(int err, FileErrorKind otherwise)
{
    const FileErrorKind kind = FileErrorKindFromErrno(err);
    return kind == FileErrorKind::None || kind == FileErrorKind::Generic ? otherwise : kind;
}

#ifdef _WIN32
int OpenExclusive(const std::string& path)
{
    return ::_wopen(WidePath(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                    _S_IREAD | _S_IWRITE);
}
long WriteSome(int fd, const char* data, std::size_t size)
{
    const unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
    return ::_write(fd, data, chunk);
}
int SyncFd(int fd) { return ::_commit(fd); }
int CloseFd(int fd) { return ::_close(fd); }
void KeepMode(int, const std::string&) {}
// Replaces the target in one step; write-through makes the new name durable before this returns,
// which POSIX gets from syncing the folder.
int Replace(const std::string& from, const std::string& to)
{
    if (::MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    const int err = ErrnoFromWindowsError(::GetLastError());
    errno = err ? err : EACCES;
    return -1;
}
int SyncFolder(const std::string&) { return 0; }
bool MayWrite(const std::string& path) { return ::_waccess(WidePath(path).c_str(), 2) == 0 || errno == ENOENT; }
#else
int OpenExclusive(const std::string& path)
{
    int fd;
    do
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    return fd;
}
long WriteSome(int fd, const char* data, std::size_t size) { return static_cast<long>(::write(fd, data, size)); }
int SyncFd(int fd) { return ::fsync(fd); }
int CloseFd(int fd) { return ::close(fd); }
// The replacement keeps the permissions of the file it replaces.
void KeepMode(int fd, const std::string& target)
{
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode))
        (void)::fchmod(fd, st.st_mode & 07777);
}
int Replace(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()); }
// Makes the rename itself durable: without this a crash can bring back the old name.
int SyncFolder(const std::string& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    int rc = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    // Some file systems cannot sync a folder; the rename is then as durable as they allow.
    if (rc != 0 && (err == EINVAL || err == EROFS || err == ENOTSUP))
        rc = 0;
    errno = err;
    return rc;
}
bool MayWrite(const std::string& path) { return ::access(path.c_str(), W_OK) == 0 || errno == ENOENT; }
#endif

} // namespace

void CheckOutputTarget(const std::string& target)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(PathFromUtf8(target), ec);
    if (ec || status.type() == fs::file_type::not_found)
        return; // nothing there yet; a folder that is missing is reported by the create
    if (status.type() == fs::file_type::symlink)
        throw UserError(target + " is a symbolic link; it was not written, so the file it points to stays as it is.");
    if (status.type() != fs::file_type::regular)
        throw UserError(target + " exists and is not a file (a folder or a device); it was not written.");
    // A write-protected file is left alone, as it was before outputs were written by renaming.
    if (!MayWrite(target))
        throw FileError(FileErrorKind::AccessDenied, target);
}

OutputFile::OutputFile(std::string target) : m_target(std::move(target))
{
    CheckOutputTarget(m_target);
    const std::size_t nameStart = NameStart(m_target);
    const std::string folder = m_target.substr(0, nameStart);
    const std::string name = m_target.substr(nameStart, kNameKept);

    static std::atomic<unsigned> counter{0};
    std::random_device random;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && err == EEXIST; ++attempt) {
        const std::string candidate = folder + "." + name + "." + std::to_string(random() % 1000000000u) + "-" +
                                      std::to_string(counter++) + ".tmp";
        // Created exclusively: a name that exists, or a link planted at it, is never opened.
        m_fd = OpenExclusive(candidate);
        if (m_fd >= 0) {
            m_temp = candidate;
            KeepMode(m_fd, m_target);
            return;
        }
        err = errno;
    }
    throw FileError(KindOf(err, FileErrorKind::AccessDenied), m_target);
}

OutputFile::~OutputFile() { Discard(); }

void OutputFile::Discard() noexcept
{
    if (m_fd >= 0) {
        CloseFd(m_fd);
        m_fd = -1;
    }
    if (!m_temp.empty()) {
        std::error_code ec;
        fs::remove(PathFromUtf8(m_temp), ec);
        m_temp.clear();
    }
}

void OutputFile::Fail(int err)
{
    Discard();
    throw FileError(KindOf(err, FileErrorKind::DiskFull), m_target);
}

void OutputFile::Write(const void* data, std::size_t size)
{
    if (m_fd < 0)
        throw FileError(FileErrorKind::InvalidFile, m_target);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        errno = 0;
        const long put = WriteSome(m_fd, p, size);
        if (put < 0 && errno == EINTR)
            continue;
        // No progress without an error code means no room left.
        if (put <= 0)
            Fail(put < 0 ? errno : ENOSPC);
        p += put;
        size -= static_cast<std::size_t>(put);
    }
}

void OutputFile::Commit()
{
    if (m_fd < 0)
        throw FileError(FileErrorKind::InvalidFile, m_target);
    if (SyncFd(m_fd) != 0)
        Fail(errno);
    const int fd = std::exchange(m_fd, -1);
    if (CloseFd(fd) != 0)
        Fail(errno);
    if (Replace(m_temp, m_target) != 0) {
        const int err = errno;
        Discard();
        throw FileError(KindOf(err, FileErrorKind::AccessDenied), m_target);
    }
    m_temp.clear();
    if (SyncFolder(m_target.substr(0, NameStart(m_target))) != 0)
        throw FileError(KindOf(errno, FileErrorKind::HardIO), m_target);
}

void WriteOutputFile(const std::string& target, const void* data, std::size_t size)
{
    OutputFile out(target);
    out.Write(data, size);
    out.Commit();
}

} // namespace orvik
