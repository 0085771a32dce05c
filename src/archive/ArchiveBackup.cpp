#include "archive/ArchiveBackup.h"

#include "common/FileError.h"
#include "common/NativePath.h"
#include "common/OutputFile.h"
#include "common/Paths.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace orvik {

namespace {

constexpr std::size_t kBlock = 4u << 20;

std::string FileNameOf(const std::string& path) { return path.substr(GameDirectory(path).size()); }

// Streams the whole archive into out.
void CopyArchive(File& archive, OutputFile& out)
{
    const std::int64_t length = archive.Length();
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min<std::int64_t>(length, kBlock)));
    archive.Seek(0);
    for (std::int64_t left = length; left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(block.size())));
        archive.ReadExact(block.data(), n);
        out.Write(block.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
}

// Whether the copy on disk holds exactly the archive's bytes.
bool SameBytes(File& archive, const std::string& copyPath)
{
    File copy(copyPath, File::Mode::Read);
    const std::int64_t length = archive.Length();
    if (copy.Length() != length)
        return false;
    std::vector<std::uint8_t> a(static_cast<std::size_t>(std::min<std::int64_t>(length, kBlock)));
    std::vector<std::uint8_t> b(a.size());
    archive.Seek(0);
    for (std::int64_t left = length; left > 0;) {
        const auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(a.size())));
        archive.ReadExact(a.data(), n);
        copy.ReadExact(b.data(), n);
        if (!std::equal(a.begin(), a.begin() + static_cast<long>(n), b.begin()))
            return false;
        left -= static_cast<std::int64_t>(n);
    }
    return true;
}

} // namespace

std::string BackupPath(const std::string& archivePath) { return archivePath + ".orig"; }

std::string BackUpBeforeFirstSave(File& archive, const std::string& archivePath)
{
    const std::string copyPath = BackupPath(archivePath);
    std::error_code ec;
    // Anything already there, even a link or a folder, is the user's: never replaced.
    if (std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(copyPath), ec)))
        return {};
    const std::string archiveName = FileNameOf(archivePath);
    const std::string copyName = FileNameOf(copyPath);
    try {
        {
            OutputFile out(copyPath);
            CopyArchive(archive, out);
            out.Commit();
        }
        if (!SameBytes(archive, copyPath)) {
            std::filesystem::remove(PathFromUtf8(copyPath), ec);
            throw FileError(FileErrorKind::HardIO, copyPath);
        }
    } catch (const FileError& e) {
        throw UserError("Your original " + archiveName + " could not be copied to " + copyName +
                        " before this first save: " + e.Message() + " Nothing was saved.");
    }
    return "Your original " + archiveName + " was copied to " + copyName + " before this first save.";
}

} // namespace orvik
