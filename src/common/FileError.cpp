#include "common/FileError.h"

#include <cerrno>

namespace orvik {

namespace {

const char* Template(FileErrorKind kind)
{
    switch (kind) {
    case FileErrorKind::None: return "No error occurred.";
    case FileErrorKind::Generic: return "An unknown error occurred while accessing %1.";
    case FileErrorKind::FileNotFound: return "%1 was not found.";
    case FileErrorKind::BadPath: return "%1 contains an invalid path.";
    case FileErrorKind::TooManyOpenFiles: return "%1 could not be opened because there are too many open files.";
    case FileErrorKind::AccessDenied: return "Access to %1 was denied.";
    case FileErrorKind::InvalidFile: return "An invalid file handle was associated with %1.";
    case FileErrorKind::RemoveCurrentDir: return "%1 could not be removed because it is the current directory.";
    case FileErrorKind::DirectoryFull: return "%1 could not be created because the directory is full.";
    case FileErrorKind::BadSeek: return "Seek failed on %1";
    case FileErrorKind::HardIO: return "A hardware I/O error was reported while accessing %1.";
    case FileErrorKind::SharingViolation: return "A sharing violation occurred while accessing %1.";
    case FileErrorKind::LockViolation: return "A locking violation occurred while accessing %1.";
    case FileErrorKind::DiskFull: return "Disk full while accessing %1.";
    case FileErrorKind::EndOfFile: return "An attempt was made to access %1 past its end.";
    }
    return "An unknown error occurred while accessing %1.";
}

} // namespace

std::string FileErrorMessage(FileErrorKind kind, const std::string& fileName)
{
    std::string text = Template(kind);
    const std::string name = fileName.empty() ? std::string(kUnnamedFile) : fileName;
    const auto pos = text.find("%1");
    if (pos != std::string::npos)
        text.replace(pos, 2, name);
    return text;
}

FileError::FileError(FileErrorKind kind, const std::string& fileName)
    : std::runtime_error(FileErrorMessage(kind, fileName)), m_kind(kind), m_fileName(fileName)
{}

FileErrorKind FileErrorKindFromErrno(int err)
{
    switch (err) {
    case 0: return FileErrorKind::None;
    case ENOENT:
    case ENXIO: return FileErrorKind::FileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
    case ELOOP: return FileErrorKind::BadPath;
    case EMFILE:
    case ENFILE: return FileErrorKind::TooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EROFS:
    case EEXIST:
    case EISDIR: return FileErrorKind::AccessDenied;
    case EBADF: return FileErrorKind::InvalidFile;
    case EBUSY:
    case ETXTBSY: return FileErrorKind::SharingViolation;
#ifdef EDEADLK
    case EDEADLK: return FileErrorKind::LockViolation;
#endif
#ifdef ENOLCK
    case ENOLCK: return FileErrorKind::LockViolation;
#endif
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileErrorKind::DiskFull;
    case EIO: return FileErrorKind::HardIO;
    case ESPIPE: return FileErrorKind::BadSeek;
    case EFBIG: return FileErrorKind::DiskFull;
    default: return FileErrorKind::Generic;
    }
}

int ErrnoFromWindowsError(unsigned long code)
{
    // The codes by number, as winerror.h names them, so that this compiles without windows.h.
    switch (code) {
    case 2:   // ERROR_FILE_NOT_FOUND
    case 3:   // ERROR_PATH_NOT_FOUND
    case 15:  // ERROR_INVALID_DRIVE
    case 53:  // ERROR_BAD_NETPATH
    case 67:  // ERROR_BAD_NET_NAME
    case 161: // ERROR_BAD_PATHNAME
        return ENOENT;
    case 4: return EMFILE; // ERROR_TOO_MANY_OPEN_FILES
    case 5:                // ERROR_ACCESS_DENIED
    case 65:               // ERROR_NETWORK_ACCESS_DENIED
    case 82:               // ERROR_CANNOT_MAKE
    case 16:               // ERROR_CURRENT_DIRECTORY
        return EACCES;
    case 19: return EROFS; // ERROR_WRITE_PROTECT
    case 6: return EBADF;  // ERROR_INVALID_HANDLE
    case 80:               // ERROR_FILE_EXISTS
    case 183:              // ERROR_ALREADY_EXISTS
        return EEXIST;
    case 123: // ERROR_INVALID_NAME
    case 87:  // ERROR_INVALID_PARAMETER
        return EINVAL;
    case 206: return ENAMETOOLONG; // ERROR_FILENAME_EXCED_RANGE
    case 267: return ENOTDIR;      // ERROR_DIRECTORY
    case 32:                       // ERROR_SHARING_VIOLATION
    case 170:                      // ERROR_BUSY
        return EBUSY;
    case 33: return EDEADLK; // ERROR_LOCK_VIOLATION
    case 158:                // ERROR_NOT_LOCKED
    case 167:                // ERROR_LOCK_FAILED
        return ENOLCK;
    case 39:   // ERROR_HANDLE_DISK_FULL
    case 112:  // ERROR_DISK_FULL
    case 1295: // ERROR_DISK_QUOTA_EXCEEDED
        return ENOSPC;
    case 25:  // ERROR_SEEK
    case 131: // ERROR_NEGATIVE_SEEK
        return ESPIPE;
    case 21:   // ERROR_NOT_READY
    case 23:   // ERROR_CRC
    case 29:   // ERROR_WRITE_FAULT
    case 30:   // ERROR_READ_FAULT
    case 31:   // ERROR_GEN_FAILURE
    case 1117: // ERROR_IO_DEVICE
        return EIO;
    case 8:  // ERROR_NOT_ENOUGH_MEMORY
    case 14: // ERROR_OUTOFMEMORY
        return ENOMEM;
    default: return 0;
    }
}

FileErrorKind FileErrorKindFromWindowsError(unsigned long code)
{
    if (code == 0)
        return FileErrorKind::None;
    const int err = ErrnoFromWindowsError(code);
    return err == 0 ? FileErrorKind::Generic : FileErrorKindFromErrno(err);
}

FileErrorKind FileErrorKindFromErrorCode(const std::error_code& ec)
{
    if (!ec)
        return FileErrorKind::None;
#ifdef _WIN32
    if (ec.category() == std::system_category())
        return FileErrorKindFromWindowsError(static_cast<unsigned long>(ec.value()));
#endif
    return FileErrorKindFromErrno(ec.value());
}

} // namespace orvik
