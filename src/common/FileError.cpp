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
    case FileErrorKind::TooManyOpenFiles:
        return "%1 could not be opened because there are too many open files.";
    case FileErrorKind::AccessDenied: return "Access to %1 was denied.";
    case FileErrorKind::InvalidFile: return "An invalid file handle was associated with %1.";
    case FileErrorKind::RemoveCurrentDir:
        return "%1 could not be removed because it is the current directory.";
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
{
}

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

} // namespace orvik
