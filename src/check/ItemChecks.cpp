#include "check/ItemChecks.h"

#include "common/Text.h"

#include <algorithm>

namespace orvik {

std::vector<CheckedItem> CheckedItemsOfModel(const CMissionModel& model, const CItemDefList& catalogue)
{
    std::vector<CheckedItem> items;
    items.reserve(model.items.size());
    for (const auto& item : model.items) {
        // As its row reads: kind id 0 shows the catalogue's name for 0, if it has one.
        std::string typed = item->m_nId == 0 ? catalogue.NameOf(0) : std::string();
        items.push_back({item->m_nId, std::move(typed), item->m_nX, item->m_nY, item->m_nZ, item->m_nAngle});
    }
    return items;
}

CheckedItem CheckedItemOfRow(const ItemRow& row, std::size_t index, const CMissionModel& model,
                             const CItemDefList& catalogue)
{
    CheckedItem item;
    const std::string& name = row[kColItem];
    if (index < model.items.size() && catalogue.NameOf(model.items[index]->m_nId) == name)
        item.id = model.items[index]->m_nId;
    else
        item.id = catalogue.GetIdByName(name);
    if (item.id == 0)
        item.typedName = name;
    item.x = DecimalToInt(row[kColX]);
    item.y = DecimalToInt(row[kColY]);
    item.z = DecimalToInt(row[kColZ]);
    item.angle = DecimalToInt(row[kColAngle]);
    return item;
}

std::vector<CheckedItem> CheckedItemsOfRows(const std::vector<ItemRow>& rows, const CMissionModel& model,
                                            const CItemDefList& catalogue)
{
    std::vector<CheckedItem> items;
    items.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        items.push_back(CheckedItemOfRow(rows[i], i, model, catalogue));
    return items;
}

std::vector<std::size_t> RecheckRows(ItemFindings& findings, const std::vector<ItemRow>& rows,
                                     std::vector<std::size_t> changed, const CMissionModel& model,
                                     const CItemDefList& catalogue)
{
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    std::vector<std::size_t> rechecked;
    for (const std::size_t row : changed)
        if (row < rows.size())
            findings.Update(row, CheckedItemOfRow(rows[row], row, model, catalogue), rechecked);
    return rechecked;
}

void CheckItems(std::vector<CheckedItem> items, const CItemDefList& catalogue, const std::string& mission,
                std::vector<Finding>& out)
{
    // The editor keeps the same findings up to date row by row; a whole check is its first step.
    ItemFindings findings(catalogue, mission);
    findings.Reset(std::move(items));
    const std::vector<Finding> all = findings.All();
    out.insert(out.end(), all.begin(), all.end());
}

} // namespace orvik
