#pragma once
// An output file that replaces its target whole or not at all: the bytes go to a fresh temporary
// file in the target's folder, which is synced and then renamed over the target. Until Commit the
// target is untouched; a failure or an exception removes the temporary file and leaves the old
// target as it was, byte for byte.
#include <cstddef>
#include <string>

namespace orvik {

// Throws when target must not be written: UserError naming it when it is a symbolic link (writing
// would land wherever the link points) or exists as something other than a regular file (a folder,
// a device); FileError kind 5 with its path when it is a file that may not be written. A missing
// target is fine. Commands with several outputs call this for every name before writing any.
void CheckOutputTarget(const std::string& target);

class OutputFile {
public:
    // Checks the target as CheckOutputTarget does, then creates the temporary file. Throws
    // FileError with the target's path when it cannot be created.
    explicit OutputFile(std::string target);
    // Removes the temporary file unless Commit succeeded.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Writes all bytes or throws FileError (kind 13 for a full disk or a file-size limit).
    void Write(const void* data, std::size_t size);
    // Syncs and closes the temporary file, renames it over the target and syncs the folder.
    void Commit();

    const std::string& Target() const { return m_target; }
    // The temporary file's path (empty once committed or removed).
    const std::string& TempPath() const { return m_temp; }

private:
    void Discard() noexcept;
    [[noreturn]] void Fail(int err);

    std::string m_target;
    std::string m_temp;
    int m_fd = -1;
};

// Writes data as the whole new content of target through an OutputFile.
void WriteOutputFile(const std::string& target, const void* data, std::size_t size);
inline void WriteOutputFile(const std::string& target, const std::string& text)
{
    WriteOutputFile(target, text.data(), text.size());
}

} // namespace orvik
