#pragma once
// A binary file with the editor's error model: opening never throws; the first read, seek or
// write on a file that did not open throws the FileError that matches the system's reason (not
// found, access denied, in use ...) with the file's path. Other reads and seeks carry no file
// name in their errors; writes carry the full path.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace orvik {

class File {
public:
    enum class Mode {
        Read,        // existing file, read only
        ReadWrite,   // existing file, neither created nor truncated
        CreateWrite, // created or truncated, write only
    };

    File() = default;
    File(const std::string& path, Mode mode) { Open(path, mode); }
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Never throws; returns whether the file is open. The errno of a failed open is kept.
    bool Open(const std::string& path, Mode mode);
    bool IsOpen() const { return m_file != nullptr; }
    int OpenErrno() const { return m_openErrno; }
    const std::string& Path() const { return m_path; }

    // Reads up to size bytes; fewer only at the end of the file.
    std::size_t Read(void* buffer, std::size_t size);
    // Reads exactly size bytes; a short read throws kind 14 (end of file).
    void ReadExact(void* buffer, std::size_t size);
    std::int32_t ReadInt32();
    // Absolute seek. Negative positions throw kind 9 (bad seek).
    void Seek(std::int64_t position);
    std::int64_t Position();
    std::int64_t Length();

    // Writes all bytes; a short write throws kind 13 (disk full) with the full path.
    void Write(const void* buffer, std::size_t size);
    void WriteInt32(std::int32_t value);
    // Pushes buffered data to the operating system and the disk.
    void Sync();
    // Flushes and closes; a failure throws with the full path. Closing a closed file does nothing.
    void Close();

    // An advisory lock on the whole file for this open file, held until it is closed, so that two
    // programs saving into the same archive take turns. Lock waits; TryLock returns false at once
    // when another holder has it.
    void Lock();
    bool TryLock();

private:
    void RequireOpen(bool forWrite) const;
    [[noreturn]] void ThrowErrno(bool withName) const;

    std::FILE* m_file = nullptr;
    std::string m_path;
    Mode m_mode = Mode::Read;
    int m_openErrno = 0;
};

// Makes a rename or delete inside folder durable (where the system can; elsewhere nothing).
void SyncFolder(const std::string& folder);

// Reads a whole file; throws FileError when it cannot be read.
std::vector<std::uint8_t> ReadWholeFile(const std::string& path);
// Writes a whole file (created or replaced); throws FileError with the path on failure.
void WriteWholeFile(const std::string& path, const void* data, std::size_t size);
inline void WriteWholeFile(const std::string& path, const std::string& text)
{
    WriteWholeFile(path, text.data(), text.size());
}
// Little-endian helpers for byte blocks.
inline std::int32_t GetInt32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}
inline std::uint32_t GetUInt32(const std::uint8_t* p) { return static_cast<std::uint32_t>(GetInt32(p)); }
inline void PutInt32(std::uint8_t* p, std::int32_t v)
{
    const auto u = static_cast<std::uint32_t>(v);
    p[0] = static_cast<std::uint8_t>(u);
    p[1] = static_cast<std::uint8_t>(u >> 8);
    p[2] = static_cast<std::uint8_t>(u >> 16);
    p[3] = static_cast<std::uint8_t>(u >> 24);
}

} // namespace orvik
