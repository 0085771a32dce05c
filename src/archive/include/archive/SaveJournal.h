#pragma once
// The journal that makes a patch of an archive atomic. Before the first byte of the archive is
// touched, the old and the new bytes of the range go into a journal beside it, under a checksum,
// synced; the journal is removed once the archive holds the new bytes on disk. A journal found
// later tells what a crash interrupted, and settling it finishes or forgets that patch.
#include "common/File.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik {

struct ArchivePatch {
    std::string entryName; // the entry the range belongs to, as the table stores it
    std::uint32_t entryOffset = 0;
    std::uint32_t entrySize = 0;
    std::int64_t rangeStart = 0; // absolute offset in the archive
    std::vector<std::uint8_t> oldBytes;
    std::vector<std::uint8_t> newBytes; // as many as oldBytes
};

// The journal's path: the archive's own path with ".orvik-journal" added.
std::string JournalPath(const std::string& archivePath);

// Writes the journal of patch beside archivePath and makes it and its name durable. A failure
// removes what was written and throws FileError.
void WriteJournal(const std::string& archivePath, const ArchivePatch& patch);

// What a journal file holds: nothing, a journal cut short (or damaged), or a whole patch.
struct JournalContents {
    bool present = false;
    bool complete = false;
    ArchivePatch patch; // only when complete
};
JournalContents ReadJournal(const std::string& archivePath);

struct SettleResult {
    enum class Outcome {
        Nothing,       // no journal
        RolledForward, // the interrupted save was finished
        Dropped,       // an incomplete journal: the archive had not been touched
        Kept,          // the archive holds neither state; journal and archive left as they are
        Busy,          // another program holds the archive's lock: its save owns the journal
    };
    Outcome outcome = Outcome::Nothing;
    std::string message; // the user's words ("" for Nothing and Busy)
};

// Settles a journal left behind by an interrupted save of archivePath. Cheap when there is none.
// Takes the archive's lock without waiting.
SettleResult SettleJournal(const std::string& archivePath);
// The same, on an archive that the caller opened for writing and has locked.
SettleResult SettleJournal(File& lockedArchive, const std::string& archivePath);

// Patches the range of a locked archive atomically: journal, patch, sync, read back, remove the
// journal. A failure while patching puts the old bytes back when it can; when it cannot, the
// journal stays so that the next open finishes the save. Throws FileError.
void ApplyPatch(File& lockedArchive, const std::string& archivePath, const ArchivePatch& patch);

} // namespace orvik
