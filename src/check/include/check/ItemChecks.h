#pragma once
// The findings about a mission's items: the same rules for the records in an archive and for the
// rows of the editor's table.
#include "catalogue/ItemDefList.h"
#include "check/Finding.h"
#include "check/ItemFindings.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"

#include <string>
#include <vector>

namespace orvik {

// What the checks see in the items as stored; the same as in their rows fresh from a load.
std::vector<CheckedItem> CheckedItemsOfModel(const CMissionModel& model, const CItemDefList& catalogue);
// A table row as a save would store it: a row whose name is still its record's name keeps the
// record's kind id, any other name is looked up (the first entry wins).
CheckedItem CheckedItemOfRow(const ItemRow& row, std::size_t index, const CMissionModel& model,
                             const CItemDefList& catalogue);
std::vector<CheckedItem> CheckedItemsOfRows(const std::vector<ItemRow>& rows, const CMissionModel& model,
                                            const CItemDefList& catalogue);

// Checks the changed rows (any order, repeats allowed) of the table again; returns the rows whose
// findings were made again.
std::vector<std::size_t> RecheckRows(ItemFindings& findings, const std::vector<ItemRow>& rows,
                                     std::vector<std::size_t> changed, const CMissionModel& model,
                                     const CItemDefList& catalogue);

// Appends the findings about the items, by row, then the mission's own (no centre item, when
// there are items).
void CheckItems(std::vector<CheckedItem> items, const CItemDefList& catalogue, const std::string& mission,
                std::vector<Finding>& out);

} // namespace orvik
