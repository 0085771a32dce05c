#include "archive/SaveJournal.h"

#include "archive/PffArchive.h"
#include "common/FileError.h"
#include "common/NativePath.h"
#include "common/OutputFile.h"
#include "common/Paths.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace orvik {

namespace {

constexpr std::array<char, 8> kMagic = {'O', 'R', 'V', 'K', 'J', 'N', 'L', '1'};
constexpr std::size_t kMaxEntryName = 64;
constexpr std::size_t kChunk = 64u << 10; // bytes per write: a crash can land between any two

// A 64-bit checksum, eight bytes at a time: any cut or changed byte of the journal shows.
class Checksum {
public:
    void Add(const std::uint8_t* p, std::size_t n)
    {
        while (n > 0) {
            const std::size_t take = std::min<std::size_t>(8 - m_fill, n);
            std::memcpy(m_pending + m_fill, p, take);
            m_fill += take;
            p += take;
            n -= take;
            if (m_fill == 8)
                Mix();
        }
    }
    std::uint64_t Value()
    {
        std::uint64_t h = m_hash ^ (m_count * 0x9E3779B97F4A7C15ULL);
        for (std::size_t i = 0; i < m_fill; ++i)
            h = (h ^ m_pending[i]) * 0x100000001B3ULL;
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDULL;
        h ^= h >> 33;
        return h;
    }

private:
    void Mix()
    {
        std::uint64_t word = 0;
        for (int i = 7; i >= 0; --i)
            word = (word << 8) | m_pending[i];
        m_hash = (m_hash ^ word) * 0x100000001B3ULL;
        m_hash ^= m_hash >> 29;
        m_count += 8;
        m_fill = 0;
    }

    std::uint64_t m_hash = 0xCBF29CE484222325ULL;
    std::uint64_t m_count = 0;
    std::uint8_t m_pending[8] = {};
    std::size_t m_fill = 0;
};

void PutUInt64(std::uint8_t* p, std::uint64_t v)
{
    PutInt32(p, static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    PutInt32(p + 4, static_cast<std::int32_t>(static_cast<std::uint32_t>(v >> 32)));
}

std::uint64_t GetUInt64(const std::uint8_t* p)
{
    return static_cast<std::uint64_t>(GetUInt32(p)) | (static_cast<std::uint64_t>(GetUInt32(p + 4)) << 32);
}

// Everything before the bytes: magic, entry name, entry place, range start and length.
std::vector<std::uint8_t> Header(const ArchivePatch& patch)
{
    std::vector<std::uint8_t> h(kMagic.size() + 4 + patch.entryName.size() + 4 + 4 + 8 + 8);
    std::uint8_t* p = h.data();
    std::memcpy(p, kMagic.data(), kMagic.size());
    p += kMagic.size();
    PutInt32(p, static_cast<std::int32_t>(patch.entryName.size()));
    p += 4;
    std::memcpy(p, patch.entryName.data(), patch.entryName.size());
    p += patch.entryName.size();
    PutInt32(p, static_cast<std::int32_t>(patch.entryOffset));
    PutInt32(p + 4, static_cast<std::int32_t>(patch.entrySize));
    PutUInt64(p + 8, static_cast<std::uint64_t>(patch.rangeStart));
    PutUInt64(p + 16, patch.oldBytes.size());
    return h;
}

void WriteChunked(File& out, const std::vector<std::uint8_t>& bytes, Checksum* sum)
{
    for (std::size_t at = 0; at < bytes.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, bytes.size() - at);
        out.Write(bytes.data() + at, n);
        if (sum)
            sum->Add(bytes.data() + at, n);
    }
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ec;
    std::filesystem::remove(PathFromUtf8(path), ec);
}

std::string FileNameOf(const std::string& path) { return path.substr(GameDirectory(path).size()); }

// Whether the archive's entry table still has the patch's entry at the same place.
bool EntryStillThere(File& archive, const ArchivePatch& patch)
{
    CPffArchive reader;
    bool found = false;
    reader.WalkEntries(archive, [&](const PffEntry& entry) {
        found = entry.name == patch.entryName && static_cast<std::uint32_t>(entry.dataOffset) == patch.entryOffset &&
                entry.dataSize == patch.entrySize;
        return !found;
    });
    return found;
}

void WriteRange(File& archive, std::int64_t start, const std::vector<std::uint8_t>& bytes)
{
    archive.Seek(start);
    WriteChunked(archive, bytes, nullptr);
    archive.Sync();
}

bool RangeHolds(File& archive, std::int64_t start, const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> back(bytes.size());
    archive.Seek(start);
    return archive.Read(back.data(), back.size()) == back.size() && back == bytes;
}

} // namespace

std::string JournalPath(const std::string& archivePath) { return archivePath + ".orvik-journal"; }

void WriteJournal(const std::string& archivePath, const ArchivePatch& patch)
{
    const std::string path = JournalPath(archivePath);
    CheckOutputTarget(path); // never through a link to somewhere else
    File out(path, File::Mode::CreateWrite);
    try {
        Checksum sum;
        const std::vector<std::uint8_t> header = Header(patch);
        WriteChunked(out, header, &sum);
        WriteChunked(out, patch.oldBytes, &sum);
        WriteChunked(out, patch.newBytes, &sum);
        std::uint8_t tail[8];
        PutUInt64(tail, sum.Value());
        out.Write(tail, sizeof tail);
        out.Sync();
        out.Close();
    } catch (...) {
        const bool created = out.IsOpen() || std::filesystem::exists(PathFromUtf8(path));
        try {
            out.Close();
        } catch (...) {
        }
        if (created)
            RemoveQuietly(path);
        throw;
    }
    // The journal's name must be on disk before the archive changes, or a crash could lose it.
    SyncFolder(GameDirectory(archivePath));
}

JournalContents ReadJournal(const std::string& archivePath)
{
    JournalContents contents;
    std::error_code ec;
    const std::string path = JournalPath(archivePath);
    if (!std::filesystem::exists(PathFromUtf8(path), ec))
        return contents;
    contents.present = true;
    File in(path, File::Mode::Read);
    const std::int64_t length = in.Length();
    // Sizes are taken from the file only once the file is known to hold them.
    std::array<std::uint8_t, kMagic.size() + 4> start{};
    if (in.Read(start.data(), start.size()) != start.size() ||
        std::memcmp(start.data(), kMagic.data(), kMagic.size()) != 0)
        return contents;
    const std::uint32_t nameLength = GetUInt32(start.data() + kMagic.size());
    if (nameLength > kMaxEntryName)
        return contents;
    const std::int64_t headerSize = static_cast<std::int64_t>(start.size() + nameLength + 24);
    if (length < headerSize + 8)
        return contents;
    std::vector<std::uint8_t> header(static_cast<std::size_t>(headerSize));
    in.Seek(0);
    in.ReadExact(header.data(), header.size());
    const std::uint8_t* p = header.data() + start.size();
    ArchivePatch patch;
    patch.entryName.assign(reinterpret_cast<const char*>(p), nameLength);
    p += nameLength;
    patch.entryOffset = GetUInt32(p);
    patch.entrySize = GetUInt32(p + 4);
    patch.rangeStart = static_cast<std::int64_t>(GetUInt64(p + 8));
    const std::uint64_t size = GetUInt64(p + 16);
    if (size > static_cast<std::uint64_t>(length) || headerSize + 2 * static_cast<std::int64_t>(size) + 8 != length ||
        patch.rangeStart < 0)
        return contents;
    patch.oldBytes.resize(static_cast<std::size_t>(size));
    patch.newBytes.resize(static_cast<std::size_t>(size));
    in.ReadExact(patch.oldBytes.data(), patch.oldBytes.size());
    in.ReadExact(patch.newBytes.data(), patch.newBytes.size());
    std::uint8_t tail[8];
    in.ReadExact(tail, sizeof tail);
    Checksum sum;
    sum.Add(header.data(), header.size());
    sum.Add(patch.oldBytes.data(), patch.oldBytes.size());
    sum.Add(patch.newBytes.data(), patch.newBytes.size());
    if (sum.Value() != GetUInt64(tail))
        return contents;
    contents.complete = true;
    contents.patch = std::move(patch);
    return contents;
}

SettleResult SettleJournal(const std::string& archivePath)
{
    std::error_code ec;
    if (!std::filesystem::exists(PathFromUtf8(JournalPath(archivePath)), ec))
        return {};
    File archive(archivePath, File::Mode::ReadWrite);
    if (!archive.IsOpen()) {
        const std::string reason = FileError(FileErrorKindFromErrno(archive.OpenErrno()), archivePath).Message();
        return {SettleResult::Outcome::Kept,
                "The save into " + FileNameOf(archivePath) + " that was interrupted cannot be settled now: " + reason +
                    " Its journal " + JournalPath(archivePath) + " is kept until the archive can be written."};
    }
    if (!archive.TryLock())
        return {SettleResult::Outcome::Busy, {}};
    return SettleJournal(archive, archivePath);
}

SettleResult SettleJournal(File& archive, const std::string& archivePath)
{
    const std::string journal = JournalPath(archivePath);
    const JournalContents contents = ReadJournal(archivePath);
    if (!contents.present)
        return {};
    const std::string archiveName = FileNameOf(archivePath);
    if (!contents.complete) {
        // The archive is only touched once the whole journal is on disk.
        RemoveQuietly(journal);
        SyncFolder(GameDirectory(archivePath));
        return {SettleResult::Outcome::Dropped, "A save into " + archiveName +
                                                    " was interrupted before it changed the archive; its unfinished "
                                                    "journal was removed and the archive is as it was."};
    }
    const ArchivePatch& patch = contents.patch;
    const std::int64_t end = patch.rangeStart + static_cast<std::int64_t>(patch.newBytes.size());
    // Only a range inside its own entry is ever patched, whatever a journal says.
    const bool insideEntry = patch.rangeStart >= static_cast<std::int64_t>(patch.entryOffset) &&
                             end <= static_cast<std::int64_t>(patch.entryOffset) + patch.entrySize;
    bool eachByteKnown = insideEntry && end <= archive.Length() && EntryStillThere(archive, patch);
    if (eachByteKnown) {
        std::vector<std::uint8_t> now(patch.newBytes.size());
        archive.Seek(patch.rangeStart);
        archive.ReadExact(now.data(), now.size());
        for (std::size_t i = 0; i < now.size() && eachByteKnown; ++i)
            eachByteKnown = now[i] == patch.oldBytes[i] || now[i] == patch.newBytes[i];
    }
    if (!eachByteKnown)
        return {SettleResult::Outcome::Kept,
                archiveName + " has the journal of an interrupted save of " + patch.entryName + " (" + journal +
                    "), but the archive no longer holds either the old or the new items there: another program "
                    "has changed it since. Nothing was written, and nothing can be saved into " +
                    archiveName +
                    " while the journal is there. Keep a copy of both files; delete the journal to keep the archive "
                    "as it is now, or restore the archive from your backup."};
    // The user pressed Save: the new bytes stand.
    WriteRange(archive, patch.rangeStart, patch.newBytes);
    if (!RangeHolds(archive, patch.rangeStart, patch.newBytes))
        throw FileError(FileErrorKind::HardIO, archivePath);
    RemoveQuietly(journal);
    SyncFolder(GameDirectory(archivePath));
    return {SettleResult::Outcome::RolledForward, "The save of " + patch.entryName + " into " + archiveName +
                                                      " that was interrupted has been completed from its journal."};
}

void ApplyPatch(File& archive, const std::string& archivePath, const ArchivePatch& patch)
{
    if (patch.newBytes.empty())
        return;
    WriteJournal(archivePath, patch);
    try {
        WriteRange(archive, patch.rangeStart, patch.newBytes);
    } catch (...) {
        // Put the old bytes back so the failed save leaves the archive as it was; if even that
        // fails, the journal stays and the next open finishes the save.
        try {
            WriteRange(archive, patch.rangeStart, patch.oldBytes);
            if (RangeHolds(archive, patch.rangeStart, patch.oldBytes)) {
                RemoveQuietly(JournalPath(archivePath));
                SyncFolder(GameDirectory(archivePath));
            }
        } catch (...) {
        }
        throw;
    }
    // "Data saved!" only for records that are really in the file.
    if (!RangeHolds(archive, patch.rangeStart, patch.newBytes))
        throw FileError(FileErrorKind::HardIO, archivePath);
    // No folder sync here: a journal that outlives a crash at this point finds the new bytes in
    // place, and settling it changes nothing.
    RemoveQuietly(JournalPath(archivePath));
}

} // namespace orvik
