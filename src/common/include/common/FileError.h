#pragma once
// File errors as the editor reports them: a kind and the name of the file involved.
#include <stdexcept>
#include <string>
#include <system_error>

namespace orvik {

enum class FileErrorKind {
    None = 0,
    Generic = 1,
    FileNotFound = 2,
    BadPath = 3,
    TooManyOpenFiles = 4,
    AccessDenied = 5,
    InvalidFile = 6,
    RemoveCurrentDir = 7,
    DirectoryFull = 8,
    BadSeek = 9,
    HardIO = 10,
    SharingViolation = 11,
    LockViolation = 12,
    DiskFull = 13,
    EndOfFile = 14,
};

// The name shown when an operation carries no file name.
inline constexpr const char* kUnnamedFile = "an unnamed file";

class FileError : public std::runtime_error {
public:
    // fileName empty means "an unnamed file".
    FileError(FileErrorKind kind, const std::string& fileName = {});

    FileErrorKind Kind() const { return m_kind; }
    const std::string& FileName() const { return m_fileName; }
    // The report text, e.g. "an unnamed file was not found."
    std::string Message() const { return what(); }

private:
    FileErrorKind m_kind;
    std::string m_fileName;
};

// The report text of a kind with %1 replaced by the name (or "an unnamed file").
std::string FileErrorMessage(FileErrorKind kind, const std::string& fileName);

// Maps an operating-system error code (errno) to a kind by its meaning.
FileErrorKind FileErrorKindFromErrno(int err);
// A Windows error code (GetLastError) as the errno of the same meaning, so that both systems report
// the same kinds; 0 for codes without one. Defined everywhere, so the table is checked on every system.
int ErrnoFromWindowsError(unsigned long code);
FileErrorKind FileErrorKindFromWindowsError(unsigned long code);
// A std::filesystem error: errno's codes, or on Windows the system's own.
FileErrorKind FileErrorKindFromErrorCode(const std::error_code& ec);

// Messages of the editor's own (an unsafe name, a damaged mission, a refused command).
// The dialog shows them in a plain message box; the command line prints them and exits 1.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace orvik
