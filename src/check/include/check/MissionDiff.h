#pragma once
// What differs between the item tables of two base archives (or two missions), mission by mission,
// as the editor shows the tables. It only reads.
#include "catalogue/ItemDefList.h"
#include "mission/MissionModel.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvik {

enum class DiffKind { Cell, RowOnlyInA, RowOnlyInB, MissionOnlyInA, MissionOnlyInB };

struct Difference {
    DiffKind kind = DiffKind::Cell;
    std::string mission; // entry name, lower case ("a:b" when two differently named missions are compared)
    std::size_t row = 0; // record index from 0 (rows and cells only)
    int column = -1;     // ItemColumn (cells only)
    std::string oldText; // A's text: the cell, or the whole row for a row only in A
    std::string newText; // B's
};

// "cell", "row only in A", "row only in B", "mission only in A", "mission only in B".
const char* DiffKindName(DiffKind kind);

// Row by row, in record order; the longer table's extra rows are rows only in one. Rows are the
// editor's cell texts; a kind id that changed behind an unchanged name still shows in Item.
void DiffMissions(const std::string& mission, const CMissionModel& a, const CItemDefList& catalogueA,
                  const CMissionModel& b, const CItemDefList& catalogueB, std::vector<Difference>& out);

// The differences as `orvik diff` prints them: a header line "change, mission, row, column, old,
// new" and a line each, tab-separated, in UTF-8; rows are counted from 1.
std::string DifferencesTsv(const std::vector<Difference>& differences);

struct DiffSide {
    std::string path;    // the base archive
    std::string mission; // one mission of it ("" for all)
    const CItemDefList* catalogue = nullptr;
};

struct DiffReport {
    std::vector<Difference> differences;
    std::vector<std::string> problems; // damage met on the way, Windows-1252 sentences
};

// Missions are paired by entry name (the first of a name in each archive). wanted limits them to
// the named ones (any case, or @OFFSET of either side). With a mission named on both sides, those
// two are compared whatever their names. Only an archive that cannot be opened throws FileError.
DiffReport DiffArchives(const DiffSide& a, const DiffSide& b, const std::vector<std::string>& wanted = {});

} // namespace orvik
