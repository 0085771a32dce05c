#pragma once
// Writes items.def catalogues for the demo game and for tests.
#include <cstdint>
#include <string>
#include <vector>

namespace orvik::gamedata {

struct ItemDefSpec {
    std::string name;
    std::int32_t id = 0; // kind id: the file holds id + 100000
};

// "begin \"NAME\"" then "id NUMBER" per entry, with varying unrelated lines between entries.
std::string BuildItemDef(const std::vector<ItemDefSpec>& entries, std::uint32_t seed = 5);

} // namespace orvik::gamedata
