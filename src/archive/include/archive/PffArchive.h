#pragma once
// The reader of ".pff" archives: a 20-byte header, a table of 32-byte entries, raw entry data.
#include "archive/SortedList.h"
#include "common/File.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace orvik {

struct PffEntry {
    std::uint32_t index = 0;     // position in the entry table
    std::int32_t dataOffset = 0; // signed: archives stop at 2 GiB
    std::uint32_t dataSize = 0;
    std::string name; // as stored, up to 16 bytes (all 16 when no NUL)
};

struct MissionInfo {
    std::string name;  // entry name folded to lower case
    std::string title; // up to 40 bytes at dataOffset + 4, to the first NUL
    std::uint32_t offset = 0;
    std::uint32_t size = 0;
    // The text the mission list shows: "name (title)".
    std::string Text() const { return name + " (" + title + ")"; }
};

// The mission name of a mission-list line: the text before its first blank ("" without a blank).
std::string MissionNameFromLine(const std::string& line);

class CPffArchive {
public:
    static constexpr std::size_t kHeaderSize = 20;
    static constexpr std::size_t kEntrySize = 32;

    // Reads and checks the header of an open archive. An entry table or header that the file
    // cannot hold, or a negative offset, throws FileError kind 14.
    void ReadHeader(File& archive);
    std::int32_t EntryCount() const;
    std::int32_t EntryTableOffset() const;

    // Walks the entry table of an open archive in table order; the visitor returns false to stop.
    // Entries are given as stored; FindEntry and the mission walk check the data of the ones they use.
    // The header is read afresh first; the visitor may read elsewhere in the same file.
    void WalkEntries(File& archive, const std::function<bool(const PffEntry&)>& visit);

    // The first entry whose folded name equals the folded name, or none.
    std::optional<PffEntry> FindEntry(File& archive, const std::string& name);

    // Copies the data of entry name into destDir + folded name (created, or replaced whole through
    // a temporary file; on failure the old file stays) and returns true. Nothing is written, and
    // false returned, when no entry matches. A name that could escape destDir, or a target that is a
    // symbolic link or not a file, throws UserError before anything is written.
    bool ExtractFile(std::string archivePath, std::string entryName, std::string destDir);

    // Copies the data of the first entry matching name to outputPath (created or replaced) and
    // returns true; false, writing nothing, when no entry matches. Streams in blocks. Meant for
    // private scratch files: the output is written in place.
    bool ExtractTo(const std::string& archivePath, const std::string& entryName, const std::string& outputPath);

    // Fills list with one line per mission ("name (title)", item data = dataOffset).
    void ListMissions(SortedList& list, std::string archivePath);

    // Every mission of the archive in table order. Errors end the walk after the missions seen.
    void WalkMissions(const std::string& archivePath, const std::function<void(const MissionInfo&)>& visit);

private:
    // Throws kind 14 when the entry's data does not lie inside the file read by ReadHeader.
    void CheckData(const PffEntry& entry) const;

    std::array<std::uint8_t, kHeaderSize> m_header{};
    std::int64_t m_fileLength = 0;
};

// Copies size bytes from the archive's current position into out, in blocks of a few MiB.
void CopyBytes(File& archive, File& out, std::uint64_t size);

} // namespace orvik
