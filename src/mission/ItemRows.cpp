#include "mission/ItemRows.h"

#include "common/Text.h"

#include <charconv>

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

} // namespace

const std::array<const char*, kColumnCount>& ItemColumnTitles()
{
    static const std::array<const char*, kColumnCount> kTitles = {"Item",  "X Position", "Y Position", "Z Position",
                                                                  "Angle", "ID",         "MP Only"};
    return kTitles;
}

ItemRow ItemToRow(const CMissionItem& item, const CItemDefList& catalogue)
{
    ItemRow row;
    FillRow(row, item, catalogue);
    return row;
}

void FillRow(ItemRow& row, const CMissionItem& item, const CItemDefList& catalogue)
{
    // Digits straight into the cells: a load fills hundreds of thousands of rows.
    const auto number = [](std::string& cell, std::int32_t value) {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        cell.assign(digits, end);
    };
    row[kColItem] = catalogue.NameOf(item.m_nId);
    number(row[kColX], item.m_nX);
    number(row[kColY], item.m_nY);
    number(row[kColZ], item.m_nZ);
    number(row[kColAngle], item.m_nAngle);
    number(row[kColId], item.m_nNumber);
    row[kColMpOnly].assign(1, item.IsMpOnly() ? 'Y' : 'N');
}

bool IsCenterItem(const CMissionItem& item, const CItemDefList& catalogue)
{
    return catalogue.IsCenterKind(item.m_nId);
}

std::optional<std::pair<std::int32_t, std::int32_t>> CenterItemPosition(const CMissionModel& model,
                                                                        const CItemDefList& catalogue)
{
    std::optional<std::pair<std::int32_t, std::int32_t>> center;
    for (const auto& item : model.items)
        if (IsCenterItem(*item, catalogue))
            center = std::pair{item->m_nX, item->m_nY};
    return center;
}

ApplyResult ApplyRowsForSave(const std::vector<ItemRow>& rows, CMissionModel& model, const CItemDefList& catalogue)
{
    return ApplyRows(rows, model, catalogue, true);
}

ApplyResult ApplyRowsForRefresh(const std::vector<ItemRow>& rows, CMissionModel& model, const CItemDefList& catalogue)
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

} // namespace orvik
