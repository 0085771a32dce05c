#pragma once
// One thing the check found wrong or doubtful in a mission, with where it is.
#include <cstddef>
#include <optional>
#include <string>

namespace orvik {

enum class Severity { Warning, Error };

enum class FindingKind {
    DamagedArchive, // the header or entry table cannot be read
    DamagedEntry,   // a mission's data lies outside the file
    NoEndMark,      // the records run to the end of the entry
    UnknownKind,    // no catalogue name, so the row cannot be saved by name
    SharedName,     // the name belongs to an earlier kind id too; a save stores that one
    OutsideGround,  // beyond the ground the map draws
    Stacked,        // same kind at the same position as an earlier row
    NoCenter,       // no centre item
    BadAngle,       // angle outside 0 to 359
};

struct Finding {
    Severity severity = Severity::Warning;
    FindingKind kind = FindingKind::NoCenter;
    std::string mission;            // entry name, lower case; "" for the archive itself
    std::optional<std::size_t> row; // record index from 0; none for the mission as a whole
    int column = -1;                // ItemColumn, or -1
    std::string message;            // one sentence, Windows-1252
};

const char* SeverityName(Severity severity);
// A stable word for scripts: "damagedArchive", "unknownKind" ...
const char* FindingKindName(FindingKind kind);
Severity SeverityOf(FindingKind kind);

} // namespace orvik
