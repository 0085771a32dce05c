#pragma once
// Builds ".bms" mission files: a 264-byte header with the title at 4 and the terrain name at 84,
// the item records, the end mark and a tail. Unused fields get varying values.
#include "mission/MissionItem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::gamedata {

struct MissionSpec {
    std::string title;               // up to 40 bytes (40 leave no NUL)
    std::string terrainName;         // up to 16 bytes (16 leave no NUL)
    std::vector<CMissionItem> items; // word 0 is written as given
    bool endMark = true;             // false: the records run to the end of the file
    std::uint32_t tailSize = 24;     // bytes after the end mark's first 8
    std::uint32_t seed = 7;
};

std::vector<std::uint8_t> BuildMission(const MissionSpec& plan);

} // namespace orvik::gamedata
