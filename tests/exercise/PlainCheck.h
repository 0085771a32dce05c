#pragma once
// A whole check of a table's rows written for the tests, straight from the rules the user reads:
// one pass over the rows with a map of the places seen, no incremental bookkeeping. Only the
// catalogue's list of entries is read, never its lookups.
#include "catalogue/ItemDefList.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace orvik::exercise {

struct PlainFinding {
    std::optional<std::size_t> row; // none for the mission as a whole
    int column = -1;
    bool error = false;
    std::string text;
    bool operator==(const PlainFinding&) const = default;
};

// One line for a failure message.
std::string Describe(const PlainFinding& finding);

// The findings of rows, by row, then the mission's own. A row whose name is still the name of
// its record's kind keeps that kind; any other name is the first catalogue entry of that name.
std::vector<PlainFinding> PlainCheck(const std::vector<ItemRow>& rows, const CMissionModel& model,
                                     const CItemDefList& catalogue);

} // namespace orvik::exercise
