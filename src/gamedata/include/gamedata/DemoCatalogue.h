#pragma once
// The demo game's item catalogue: invented item names in every category, with kind ids in the
// category's range.
#include "gamedata/DemoRandom.h"
#include "gamedata/ItemDefWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::gamedata {

// In the order the map view tests the ranges.
enum class DemoCategory { People, Decorations, Vehicles, Buildings, Objects, Markers };
inline constexpr int kDemoCategoryCount = 6;

struct DemoKind {
    std::string name;
    std::int32_t id = 0;
    DemoCategory category = DemoCategory::People;
    bool centre = false; // the name holds "center": the editor centres the map on it
};

struct DemoCatalogue {
    std::vector<DemoKind> kinds; // in file order

    // Kinds of one category, the centre marker left out.
    std::vector<const DemoKind*> OfCategory(DemoCategory category) const;
    const DemoKind& Centre() const;
    std::vector<ItemDefSpec> Specs() const;
};

// First kind id of a category's range (the range is first .. first + 998).
std::int32_t FirstKindId(DemoCategory category);

DemoCatalogue BuildDemoCatalogue(DemoRandom& rng);

} // namespace orvik::gamedata
