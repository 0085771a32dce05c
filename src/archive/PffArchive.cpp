#include "archive/PffArchive.h"

#include "common/FileError.h"
#include "common/OutputFile.h"
#include "common/Paths.h"
#include "common/Text.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace orvik {

namespace {

constexpr std::size_t kNameField = 16;
constexpr std::size_t kTitleOffset = 4;
constexpr std::size_t kTitleSize = 40;
// Entries read from the table per read: the whole table of any real archive in one go, while a
// table of absurd size never costs more than this much memory at once.
constexpr std::size_t kEntriesPerRead = 16384;
constexpr std::size_t kCopyBlock = 4u << 20;

[[noreturn]] void ThrowDamaged() { throw FileError(FileErrorKind::EndOfFile); }

PffEntry ParseEntry(const std::uint8_t* e, std::uint32_t index)
{
    PffEntry entry;
    entry.index = index;
    entry.dataOffset = GetInt32(e + 4);
    entry.dataSize = GetUInt32(e + 8);
    // Up to the first NUL; a name that fills the field is taken as all 16 characters.
    const auto* name = reinterpret_cast<const char*>(e + 16);
    entry.name.assign(name, std::find(name, name + kNameField, '\0'));
    return entry;
}

// Copies size bytes from the archive's current position to out (a File or an OutputFile).
template <typename Output>
void CopyBlocks(File& archive, Output& out, std::uint64_t size)
{
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyBlock)));
    while (size > 0) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(size, buffer.size()));
        archive.ReadExact(buffer.data(), n);
        out.Write(buffer.data(), n);
        size -= n;
    }
}

// Writes the entry's data into a private scratch file. The range was checked by the walk that
// found the entry, so a failure here is an I/O failure; the partial output is then removed.
void CopyEntry(File& archive, const PffEntry& entry, const std::string& outputPath)
{
    archive.Seek(entry.dataOffset);
    File out(outputPath, File::Mode::CreateWrite);
    try {
        CopyBlocks(archive, out, entry.dataSize);
        if (entry.dataSize == 0)
            out.Write("", 0); // no bytes to copy, but a file that could not be created must still say so
        out.Close();
    } catch (...) {
        const bool created = out.IsOpen();
        try {
            out.Close();
        } catch (...) {
        }
        if (created)
            std::remove(outputPath.c_str());
        throw;
    }
}

} // namespace

std::string MissionNameFromLine(const std::string& line)
{
    const std::size_t blank = line.find(' ');
    return blank == std::string::npos ? std::string() : line.substr(0, blank);
}

void CopyBytes(File& archive, File& out, std::uint64_t size) { CopyBlocks(archive, out, size); }

void CPffArchive::ReadHeader(File& archive)
{
    archive.Seek(0);
    m_header.fill(0);
    if (archive.Read(m_header.data(), m_header.size()) != m_header.size())
        ThrowDamaged();
    m_fileLength = archive.Length();
    const std::int64_t tableOffset = EntryTableOffset();
    if (tableOffset < 0)
        ThrowDamaged();
    const std::int64_t count = EntryCount();
    if (count > 0 && tableOffset + count * static_cast<std::int64_t>(kEntrySize) > m_fileLength)
        ThrowDamaged();
}

std::int32_t CPffArchive::EntryCount() const { return GetInt32(m_header.data() + 8); }

std::int32_t CPffArchive::EntryTableOffset() const { return GetInt32(m_header.data() + 16); }

void CPffArchive::WalkEntries(File& archive, const std::function<bool(const PffEntry&)>& visit)
{
    ReadHeader(archive);
    const std::int32_t count = EntryCount();
    if (count <= 0)
        return;
    const auto total = static_cast<std::uint32_t>(count);
    // ReadHeader made sure the whole table lies inside the file, so this never exceeds its size.
    std::vector<std::uint8_t> table(std::min<std::size_t>(total, kEntriesPerRead) * kEntrySize);
    for (std::uint32_t first = 0; first < total;) {
        const std::uint32_t n = std::min<std::uint32_t>(total - first, kEntriesPerRead);
        // Seek afresh for every block: the visitor may read elsewhere in the archive.
        archive.Seek(EntryTableOffset() + static_cast<std::int64_t>(first) * kEntrySize);
        archive.ReadExact(table.data(), n * kEntrySize);
        for (std::uint32_t i = 0; i < n; ++i) {
            const PffEntry entry = ParseEntry(table.data() + i * kEntrySize, first + i);
            if (!visit(entry))
                return;
        }
        first += n;
    }
}

void CPffArchive::CheckData(const PffEntry& entry) const
{
    // Only the entries that are used are checked: a damaged entry elsewhere in the table must not
    // keep the user from the good ones.
    if (entry.dataOffset < 0 || static_cast<std::int64_t>(entry.dataOffset) + entry.dataSize > m_fileLength)
        ThrowDamaged();
}

std::optional<PffEntry> CPffArchive::FindEntry(File& archive, const std::string& name)
{
    const std::string wanted = FoldLower(name);
    std::optional<PffEntry> found;
    WalkEntries(archive, [&](const PffEntry& entry) {
        if (FoldLower(entry.name) != wanted)
            return true;
        CheckData(entry);
        found = entry;
        return false;
    });
    return found;
}

bool CPffArchive::ExtractFile(std::string archivePath, std::string entryName, std::string destDir)
{
    entryName = FoldLower(entryName);
    if (!IsSafeFileName(entryName))
        throw UserError("The entry name \"" + entryName +
                        "\" cannot be used as a file name: it could write outside the target folder.");
    File archive(archivePath, File::Mode::Read);
    const auto entry = FindEntry(archive, entryName);
    if (!entry)
        return false;
    // The user's file of that name is replaced whole or kept as it was.
    OutputFile out(destDir + entryName);
    archive.Seek(entry->dataOffset);
    CopyBlocks(archive, out, entry->dataSize);
    out.Commit();
    return true;
}

bool CPffArchive::ExtractTo(const std::string& archivePath, const std::string& entryName, const std::string& outputPath)
{
    File archive(archivePath, File::Mode::Read);
    const auto entry = FindEntry(archive, entryName);
    if (!entry)
        return false;
    CopyEntry(archive, *entry, outputPath);
    return true;
}

void CPffArchive::ListMissions(SortedList& list, std::string archivePath)
{
    // The lines go in as one block (one insert at a time is quadratic); those seen before an
    // error still go in.
    std::vector<SortedLine> lines;
    try {
        WalkMissions(archivePath, [&](const MissionInfo& mission) {
            lines.push_back({mission.Text(), mission.offset});
        });
    } catch (...) {
        list.AddAllSorted(std::move(lines));
        throw;
    }
    list.AddAllSorted(std::move(lines));
}

void CPffArchive::WalkMissions(const std::string& archivePath, const std::function<void(const MissionInfo&)>& visit)
{
    File archive(archivePath, File::Mode::Read);
    WalkEntries(archive, [&](const PffEntry& entry) {
        MissionInfo mission;
        mission.name = FoldLower(entry.name);
        if (!Contains(mission.name, ".bms"))
            return true;
        CheckData(entry);
        mission.offset = static_cast<std::uint32_t>(entry.dataOffset);
        mission.size = entry.dataSize;
        // The title field, kept inside the entry's own data: a mission too short to hold all of
        // it never shows bytes of the next file.
        char title[kTitleSize] = {};
        const std::uint64_t available = entry.dataSize > kTitleOffset ? entry.dataSize - kTitleOffset : 0;
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(available, kTitleSize));
        if (n > 0) {
            archive.Seek(static_cast<std::int64_t>(entry.dataOffset) + static_cast<std::int64_t>(kTitleOffset));
            archive.ReadExact(title, n);
        }
        mission.title.assign(title, std::find(title, title + n, '\0'));
        visit(mission);
        return true;
    });
}

} // namespace orvik
