#pragma once
// The item table's texts and their conversion to and from item records. The dialog, Save,
// Refresh Map and the command line all go through these.
#include "catalogue/ItemDefList.h"
#include "mission/MissionModel.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvik {

enum ItemColumn { kColItem = 0, kColX, kColY, kColZ, kColAngle, kColId, kColMpOnly, kColumnCount };

using ItemRow = std::array<std::string, kColumnCount>;

// Column titles: "Item", "X Position", "Y Position", "Z Position", "Angle", "ID", "MP Only".
const std::array<const char*, kColumnCount>& ItemColumnTitles();

// The cell texts of one item: the catalogue name, "%ld" numbers, "Y"/"N".
ItemRow ItemToRow(const CMissionItem& item, const CItemDefList& catalogue);
void FillRow(ItemRow& row, const CMissionItem& item, const CItemDefList& catalogue);

// Whether an item's catalogue name, lower-cased, contains "center".
bool IsCenterItem(const CMissionItem& item, const CItemDefList& catalogue);

// Where a loaded mission's map is centred: the position of its last centre item (each one moves
// the centre, so the last wins); none when it has no centre item.
std::optional<std::pair<std::int32_t, std::int32_t>> CenterItemPosition(const CMissionModel& model,
                                                                        const CItemDefList& catalogue);

struct ApplyResult {
    bool ok = true;
    std::size_t badRow = 0;
    std::string badName;
};

// Copies rows into the model as Save does: for each item in order, X, Y, Z and angle from the
// texts, then the id by name; the first unknown name stops (that row keeps its old id; its numbers
// are already stored). Missing rows read as empty texts.
ApplyResult ApplyRowsForSave(const std::vector<ItemRow>& rows, CMissionModel& model, const CItemDefList& catalogue);
// The same as Refresh Map does it: X, Y, Z and the id; the angle is not read.
ApplyResult ApplyRowsForRefresh(const std::vector<ItemRow>& rows, CMissionModel& model, const CItemDefList& catalogue);

// "Invalid item name \"NAME\" aborting save." and "Invalid item name \"NAME\" cannot refresh."
std::string InvalidNameSaveMessage(const std::string& name);
std::string InvalidNameRefreshMessage(const std::string& name);

} // namespace orvik
