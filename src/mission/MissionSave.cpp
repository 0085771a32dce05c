#include "mission/MissionSave.h"

#include "archive/ArchiveBackup.h"
#include "archive/SaveJournal.h"
#include "common/FileError.h"
#include "common/Text.h"

namespace orvik {

namespace {

// The bytes the records are to hold, built from the items on their own (word 0 is never kept).
std::vector<std::uint8_t> RecordBytes(const CMissionModel& model)
{
    std::vector<std::uint8_t> bytes(model.items.size() * CMissionItem::kRecordSize);
    for (std::size_t i = 0; i < model.items.size(); ++i) {
        auto words = model.items[i]->ToWords();
        words[0] = 0;
        for (std::size_t w = 0; w < words.size(); ++w)
            PutInt32(bytes.data() + i * CMissionItem::kRecordSize + 4 * w, words[w]);
    }
    return bytes;
}

// The entry of the table that is the loaded mission: same name, same place, same size.
std::optional<PffEntry> SameEntry(File& archive, const MissionInfo& mission)
{
    CPffArchive reader;
    std::optional<PffEntry> found;
    reader.WalkEntries(archive, [&](const PffEntry& entry) {
        if (static_cast<std::uint32_t>(entry.dataOffset) == mission.offset && entry.dataSize == mission.size &&
            FoldLower(entry.name) == mission.name)
            found = entry;
        return !found;
    });
    return found;
}

} // namespace

std::string ArchiveInUseAdvice()
{
    return "Another program, such as the game or its packing tool, has the archive open: close it and save "
           "again. Nothing was saved.";
}

std::string ChangedOnDiskQuestion(const std::string& missionName)
{
    return missionName + " changed on disk since it was loaded. Overwrite those changes?";
}

SaveOutcome SaveMission(const std::string& archivePath, const MissionInfo& mission, CMissionModel& model,
                        const std::vector<ItemRow>& rows, const CItemDefList& catalogue, const SaveOptions& options)
{
    const ApplyResult applied = ApplyRowsForSave(rows, model, catalogue);
    if (!applied.ok) {
        SaveOutcome outcome;
        outcome.status = SaveStatus::InvalidName;
        outcome.message = InvalidNameSaveMessage(applied.badName);
        outcome.badRow = applied.badRow;
        return outcome;
    }

    File archive(archivePath, File::Mode::ReadWrite);
    // Two editors, or the editor and orvik, take turns; everything below sees the archive as it is
    // while nobody else can change it through us.
    try {
        archive.Lock();
    } catch (const FileError& e) {
        // On Windows the game or its packing tool may hold the archive open without sharing; the
        // system's words alone do not tell the user what to do.
        if (e.Kind() == FileErrorKind::SharingViolation || e.Kind() == FileErrorKind::LockViolation)
            throw UserError(e.Message() + " " + ArchiveInUseAdvice());
        throw;
    }
    SaveOutcome outcome;
    const SettleResult settled = SettleJournal(archive, archivePath);
    if (settled.outcome == SettleResult::Outcome::Kept)
        throw UserError(settled.message);
    outcome.notice = settled.message;

    const std::optional<PffEntry> entry = SameEntry(archive, mission);
    if (!entry) {
        outcome.status = SaveStatus::EntryMoved;
        outcome.message = "The mission " + mission.name + " is no longer where it was loaded from in " + archivePath +
                          ": the archive was repacked or changed by another program. Nothing was saved.";
        return outcome;
    }

    const std::int64_t start = static_cast<std::int64_t>(mission.offset) + CMissionModel::kItemsOffset;
    const std::vector<std::uint8_t> bytes = RecordBytes(model);
    const std::int64_t end = start + static_cast<std::int64_t>(bytes.size());
    // The records never reach past their own entry, whatever the model holds.
    if (!bytes.empty() && (end > static_cast<std::int64_t>(mission.offset) + mission.size || end > archive.Length()))
        throw FileError(FileErrorKind::EndOfFile, archivePath);

    ArchivePatch patch;
    patch.entryName = entry->name; // as the table stores it, so settling finds it again
    patch.entryOffset = mission.offset;
    patch.entrySize = mission.size;
    patch.rangeStart = start;
    patch.oldBytes.resize(bytes.size());
    if (!bytes.empty()) {
        archive.Seek(start);
        archive.ReadExact(patch.oldBytes.data(), patch.oldBytes.size());
    }
    if (!options.overwriteChanges && patch.oldBytes != model.loadedRecords) {
        outcome.status = SaveStatus::ChangedOnDisk;
        outcome.message = ChangedOnDiskQuestion(mission.name);
        return outcome;
    }
    patch.newBytes = bytes;
    if (patch.newBytes != patch.oldBytes) {
        if (options.backup) {
            const std::string copied = BackUpBeforeFirstSave(archive, archivePath);
            outcome.notice += (outcome.notice.empty() || copied.empty() ? "" : "\n") + copied;
        }
        ApplyPatch(archive, archivePath, patch);
    }
    archive.Close();
    model.loadedRecords = bytes;
    outcome.status = SaveStatus::Saved;
    outcome.saved = true;
    outcome.message = kDataSavedMessage;
    return outcome;
}

std::optional<MissionInfo> FindMissionEntry(const std::string& archivePath, std::uint32_t offset,
                                            const std::string& name)
{
    // The entry of that name at offset; failing that, the first mission there whose name the list
    // showed cut at a blank. Another mission that a repack put there is never taken for it.
    std::optional<MissionInfo> named, atOffset;
    const std::string wanted = FoldLower(name);
    CPffArchive reader;
    try {
        reader.WalkMissions(archivePath, [&](const MissionInfo& m) {
            if (m.offset != offset)
                return;
            if (!atOffset && m.name.starts_with(wanted + " "))
                atOffset = m;
            if (!named && m.name == wanted)
                named = m;
        });
    } catch (const FileError&) {
        // A damaged entry after the mission does not hide it.
        if (!named && !atOffset)
            throw;
    }
    return named ? named : atOffset;
}

} // namespace orvik
