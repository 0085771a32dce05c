#include "mission/ItemRows.h"

#include "common/FileError.h"
#include "common/Text.h"

#include <algorithm>

namespace orvik {

namespace {

// Copies the rows into the items in order; the first name the catalogue lacks stops, with that
// row's numbers already stored and its old id kept.
ApplyResult ApplyRows(const std::vector<ItemRow>& rows, CMissionModel& model, const CItemDefList& catalogue,
                      bool withAngle)
{
    static const ItemRow kEmptyRow{};
    for (std::size_t i = 0; i < model.items.size(); ++i) {
        const ItemRow& row = i < rows.size() ? rows[i] : kEmptyRow;
        CMissionItem& item = *model.items[i];
        item.m_nX = DecimalToInt(row[kColX]);
        item.m_nY = DecimalToInt(row[kColY]);
        item.m_nZ = DecimalToInt(row[kColZ]);
        if (withAngle)
            item.m_nAngle = DecimalToInt(row[kColAngle]);
        const std::int32_t id = catalogue.GetIdByName(row[kColItem]);
        if (id == 0)
            return {false, i, row[kColItem]};
        item.m_nId = id;
    }
    return {};
}

// The bytes WriteItems is meant to put into the file, built on their own so that the read-back
// check does not merely compare the writer with itself.
std::vector<std::uint8_t> ExpectedRecords(const CMissionModel& model)
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

} // namespace

const std::array<const char*, kColumnCount>& ItemColumnTitles()
{
    static const std::array<const char*, kColumnCount> kTitles = {
        "Item", "X Position", "Y Position", "Z Position", "Angle", "ID", "MP Only"};
    return kTitles;
}

ItemRow ItemToRow(const CMissionItem& item, const CItemDefList& catalogue)
{
    ItemRow row;
    row[kColItem] = catalogue.GetNameById(item.m_nId);
    row[kColX] = FormatLong(item.m_nX);
    row[kColY] = FormatLong(item.m_nY);
    row[kColZ] = FormatLong(item.m_nZ);
    row[kColAngle] = FormatLong(item.m_nAngle);
    row[kColId] = FormatLong(item.m_nNumber);
    row[kColMpOnly] = std::string(1, item.IsMpOnly() ? 'Y' : 'N');
    return row;
}

bool IsCenterItem(const CMissionItem& item, const CItemDefList& catalogue)
{
    return Contains(FoldLower(catalogue.GetNameById(item.m_nId)), "center");
}

ApplyResult ApplyRowsForSave(const std::vector<ItemRow>& rows, CMissionModel& model, const CItemDefList& catalogue)
{
    return ApplyRows(rows, model, catalogue, true);
}

ApplyResult ApplyRowsForRefresh(const std::vector<ItemRow>& rows, CMissionModel& model,
                                const CItemDefList& catalogue)
{
    return ApplyRows(rows, model, catalogue, false);
}

std::string InvalidNameSaveMessage(const std::string& name)
{
    return "Invalid item name \"" + name + "\" aborting save.";
}

std::string InvalidNameRefreshMessage(const std::string& name)
{
    return "Invalid item name \"" + name + "\" cannot refresh.";
}

SaveOutcome SaveMission(const std::string& archivePath, std::uint32_t missionOffset, CMissionModel& model,
                        const std::vector<ItemRow>& rows, const CItemDefList& catalogue)
{
    const ApplyResult applied = ApplyRowsForSave(rows, model, catalogue);
    if (!applied.ok)
        return {false, InvalidNameSaveMessage(applied.badName)};

    File archive(archivePath, File::Mode::ReadWrite);
    const std::int64_t start = static_cast<std::int64_t>(missionOffset) + CMissionModel::kItemsOffset;
    const std::vector<std::uint8_t> expected = ExpectedRecords(model);
    // The records go back exactly where they were read; a place outside the file means the
    // archive is not the one they came from, and writing there would grow or corrupt it.
    if (start + static_cast<std::int64_t>(expected.size()) > archive.Length())
        throw FileError(FileErrorKind::EndOfFile, archivePath);

    model.WriteItems(archive, missionOffset);
    archive.Sync();

    // "Data saved!" only for records that are really in the file.
    if (!expected.empty()) {
        std::vector<std::uint8_t> back(expected.size());
        archive.Seek(start);
        const std::size_t got = archive.Read(back.data(), back.size());
        if (got != back.size() || !std::equal(back.begin(), back.end(), expected.begin()))
            throw FileError(FileErrorKind::HardIO, archivePath);
    }
    archive.Close();
    return {true, kDataSavedMessage};
}

} // namespace orvik
