#pragma once
// Filling the edit document from a loaded mission, and a whole table of rows as one step.
#include "catalogue/ItemDefList.h"
#include "edit/EditDocument.h"
#include "mission/MissionModel.h"

#include <string>
#include <vector>

namespace orvik {

// The cell texts of every item of the model, in record order.
std::vector<ItemRow> RowsOfModel(const CMissionModel& model, const CItemDefList& catalogue);

// Sets every editable cell of the document's rows from rows (a row that is missing leaves its
// cells as they are), as one step named label. Shown-only columns are not taken. False when
// nothing changed.
bool ApplyTableRows(EditDocument& document, const std::vector<ItemRow>& rows, const std::string& label);

} // namespace orvik
