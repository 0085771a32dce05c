// A save journal of any content is read without harm and never taken for a whole one unless it
// is; a journal written from any patch reads back the same, and any cut makes it incomplete.
#include "archive/SaveJournal.h"
#include "FuzzCheck.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    static TempDir dir;
    const std::string archive = dir.Path() + "kqbase.pff";
    WriteWholeFile(JournalPath(archive), data, size);
    const JournalContents found = ReadJournal(archive);
    fuzz::Require(found.present, "a journal that is there is found");
    if (found.complete)
        fuzz::Require(found.patch.oldBytes.size() == found.patch.newBytes.size(), "old and new bytes pair up");

    // The input as a patch: a name, a place, then old and new bytes.
    ArchivePatch patch;
    patch.entryName.assign(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 64));
    patch.entryOffset = size > 3 ? GetUInt32(data) : 0;
    patch.entrySize = static_cast<std::uint32_t>(size * 7);
    patch.rangeStart = static_cast<std::int64_t>(patch.entryOffset) + 264;
    const std::size_t half = size / 2;
    patch.oldBytes.assign(data, data + half);
    patch.newBytes.assign(data + half, data + 2 * half);
    WriteJournal(archive, patch);
    const JournalContents back = ReadJournal(archive);
    fuzz::Require(back.complete, "a written journal reads as whole");
    fuzz::Require(back.patch.entryName == patch.entryName && back.patch.entryOffset == patch.entryOffset &&
                      back.patch.entrySize == patch.entrySize && back.patch.rangeStart == patch.rangeStart &&
                      back.patch.oldBytes == patch.oldBytes && back.patch.newBytes == patch.newBytes,
                  "a written journal reads back the same");
    const auto length = std::filesystem::file_size(JournalPath(archive));
    std::filesystem::resize_file(JournalPath(archive), length - 1 - size % length);
    fuzz::Require(!ReadJournal(archive).complete, "a journal cut short is never whole");
    return 0;
}
