#pragma once
// Save: the table's rows back into the mission's records, in place inside the base archive, so
// that a crash, another program's repack or another save in between can never damage it.
#include "archive/PffArchive.h"
#include "catalogue/ItemDefList.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"

#include <string>
#include <vector>

namespace orvik {

inline constexpr const char* kDataSavedMessage = "Data saved!";

enum class SaveStatus {
    Saved,
    InvalidName,   // a row names no catalogue item; nothing written
    EntryMoved,    // the mission's entry is no longer at the place it was loaded from; nothing written
    ChangedOnDisk, // the records on disk differ from the ones loaded; nothing written
};

struct SaveOutcome {
    SaveStatus status = SaveStatus::Saved;
    bool saved = false;
    std::string message;    // "Data saved!" or why nothing was saved
    std::string notice;     // what settling an interrupted save found first ("" mostly)
    std::size_t badRow = 0; // for InvalidName
};

struct SaveOptions {
    bool overwriteChanges = false; // the user said yes to overwriting records changed on disk
    bool backup = true;            // copy the archive to NAME.orig before the first save into it
};

// Applies the rows to the model as Save does, then, holding the archive's lock: settles a journal
// left by an interrupted save, checks that mission (as listed when it was loaded) is still the
// same entry at the same place, and that the records on disk are still those the model loaded
// (unless overwriteChanges), makes the first-save copy (unless told not to), and writes the records
// atomically through the save journal, never outside the entry. Throws FileError for file failures
// and UserError when a kept journal or a copy that cannot be made blocks the save.
SaveOutcome SaveMission(const std::string& archivePath, const MissionInfo& mission, CMissionModel& model,
                        const std::vector<ItemRow>& rows, const CItemDefList& catalogue,
                        const SaveOptions& options = {});

// What a save refused because another program holds the archive open adds to the system's report.
std::string ArchiveInUseAdvice();

// "NAME changed on disk since it was loaded. Overwrite those changes?"
std::string ChangedOnDiskQuestion(const std::string& missionName);

// The mission of the archive's table whose data starts at offset and whose entry name is name
// (any case), else the first mission at offset whose name is name, a blank and more (the list
// shows a name up to its first blank); none when no such mission starts there. Throws FileError
// for a damaged archive.
std::optional<MissionInfo> FindMissionEntry(const std::string& archivePath, std::uint32_t offset,
                                            const std::string& name);

} // namespace orvik
