#include "RecoveryCommands.h"

#include "Commands.h"
#include "common/FileError.h"
#include "common/Text.h"
#include "edit/DocumentRows.h"
#include "edit/EditDocument.h"
#include "mission/MissionSave.h"
#include "session/MissionSession.h"
#include "session/RecoveryFolder.h"
#include "tables/Tables.h"

#include <ctime>
#include <iostream>

namespace orvik::cli {

namespace {

std::string TimeText(std::int64_t seconds)
{
    const std::time_t time = static_cast<std::time_t>(seconds);
    char text[32] = "?";
    if (const std::tm* local = std::localtime(&time))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

std::string StateText(const RecoveryEntry& entry)
{
    switch (entry.read.status) {
    case RecoveryReadStatus::Damaged: return "damaged";
    case RecoveryReadStatus::OtherVersion: return "other version";
    case RecoveryReadStatus::Ok: break;
    }
    if (entry.live)
        return "in use";
    return entry.archiveGone ? "archive gone" : "ready";
}

} // namespace

int RecoveryList(const std::string& folder)
{
    for (const RecoveryEntry& entry : ListRecoveryFiles(folder)) {
        const bool ok = entry.read.status == RecoveryReadStatus::Ok;
        const RecoveryRecord& record = entry.read.record;
        std::cout << MessageToUtf8(entry.path) << '\t' << (ok ? MessageToUtf8(record.header.archivePath) : "") << '\t'
                  << (ok ? Cp1252ToUtf8(record.header.missionName) : "") << '\t'
                  << (ok ? std::to_string(record.rows.size()) : "") << '\t' << (ok ? TimeText(record.time) : "")
                  << '\t' << StateText(entry) << '\n';
    }
    return 0;
}

int RecoveryShow(const std::string& file, const std::string& format, const std::string& catalogue)
{
    const TableFormat fmt = ParseFormat(format);
    const RecoveryRead read = ReadRecoveryFile(file);
    if (read.status == RecoveryReadStatus::OtherVersion)
        throw UserError("The recovery file " + file + " is from another version of the editor (format " +
                        std::to_string(read.version) + ").");
    if (read.status != RecoveryReadStatus::Ok)
        throw UserError("The recovery file " + file + " is damaged.");
    const RecoveryHeader& header = read.record.header;
    const std::optional<MissionInfo> mission =
        FindMissionEntry(header.archivePath, header.missionOffset, header.missionName);
    if (!mission)
        throw UserError("The archive " + header.archivePath + " has no mission " + header.missionName +
                        " where the edits were made.");
    const CItemDefList defs = LoadCatalogue(header.archivePath, catalogue);
    CMissionModel model;
    File archive(header.archivePath, File::Mode::Read);
    const bool whole = model.ReadItems(archive, mission->offset, mission->size);
    archive.Close();

    EditDocument document;
    document.Load(RowsOfModel(model, defs));
    const RestoreResult restored = ApplyRecoveredRows(document, read.record);
    std::vector<const ItemRow*> rows;
    for (const ItemRow& row : document.Rows())
        rows.push_back(&row);
    if (fmt == TableFormat::Json) {
        // The json form is made from records: the edits go into the model as a save takes them.
        const ApplyResult applied = ApplyRowsForSave(document.Rows(), model, defs);
        if (!applied.ok)
            throw UserError(InvalidNameSaveMessage(applied.badName) + " (row " + std::to_string(applied.badRow + 1) +
                            ")");
        WriteTable(std::cout, model, defs, fmt);
    } else {
        WriteTableRows(std::cout, rows, fmt);
    }

    int status = 0;
    if (restored.skipped > 0) {
        std::cerr << restored.skipped << " recovered row(s) lie past the end of the mission and were left out.\n";
        status = 1;
    }
    if (!whole || HashBytes(model.loadedRecords.data(), model.loadedRecords.size()) != header.recordsHash ||
        model.items.size() != header.rowCount) {
        std::cerr << "The items of " << Cp1252ToUtf8(header.missionName)
                  << " on disk are not the ones the edits were made on (saved by another program, or the archive "
                     "was repacked or replaced since).\n";
        status = 1;
    }
    return status;
}

} // namespace orvik::cli
