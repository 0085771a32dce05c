#pragma once
// The missions of a base archive as far as the file allows: a damaged entry is kept and marked,
// a damaged table ends the list with what was read before it. The check and the comparison read
// damaged archives too, so they cannot use the walk that stops at the first bad entry.
#include "common/File.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik {

struct MissionEntry {
    std::string name;        // entry name folded to lower case
    std::int32_t offset = 0; // as stored, maybe negative
    std::uint32_t size = 0;
    bool inside = true; // the data lies inside the file
};

struct MissionEntries {
    std::vector<MissionEntry> missions; // in table order
    std::string damage;                 // why the table could not be read to its end; "" when it could
};

// Throws FileError only when the archive cannot be opened or its length read.
MissionEntries ReadMissionEntries(File& archive);

// Whether a mission named on the command line (any case, or @OFFSET) is this one.
bool MissionMatches(const MissionEntry& entry, const std::string& wanted);

} // namespace orvik
