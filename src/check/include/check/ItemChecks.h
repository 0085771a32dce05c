#pragma once
// The findings about a mission's items: the same rules for the records in an archive and for the
// rows of the editor's table.
#include "check/CatalogueLookup.h"
#include "check/Finding.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik {

// What the checks look at in one item.
struct CheckedItem {
    std::int32_t id = 0;   // kind id; 0 when a typed name is not in the catalogue
    std::string typedName; // the table's name, when it named no kind (id 0)
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::int32_t angle = 0;
};

// The ground the map draws: map pixels 0 to 511 east and south of world (0, 0), one pixel being
// 131072 world units taken toward zero, as the markers are placed.
bool IsOnGround(std::int32_t x, std::int32_t y);

std::vector<CheckedItem> CheckedItemsOfModel(const CMissionModel& model);
// The table's rows as a save would store them: a row whose name is still its record's name keeps
// the record's kind id, any other name is looked up (the first entry wins).
std::vector<CheckedItem> CheckedItemsOfRows(const std::vector<ItemRow>& rows, const CMissionModel& model,
                                            const CatalogueLookup& lookup);

// Appends the findings about the items, by row, then the mission's own (no centre item, when
// there are items).
void CheckItems(const std::vector<CheckedItem>& items, const CatalogueLookup& lookup, const std::string& mission,
                std::vector<Finding>& out);

} // namespace orvik
