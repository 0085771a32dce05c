#pragma once
// The missions of the demo game: what each one is, and its items placed over its terrain in
// bases, along roads and here and there.
#include "gamedata/DemoCatalogue.h"
#include "gamedata/DemoRandom.h"
#include "gamedata/DemoTerrain.h"
#include "mission/MissionItem.h"

#include <cstddef>
#include <string>
#include <vector>

namespace orvik::gamedata {

struct DemoMissionPlan {
    std::string entryName;   // "m01_outpost.bms"
    std::string title;       // up to 40 bytes
    std::size_t terrain = 0; // index into the demo's terrains
    int itemCount = 0;       // centre items included
    int centres = 1;         // items named like "Map Center"
};

// Between 8 and 9 missions: one empty, one of 2,000 items, one with two centre items, one
// without any, one title of exactly 40 characters, one entry name in capitals.
std::vector<DemoMissionPlan> PlanDemoMissions(std::size_t terrainCount, DemoRandom& rng);

// The mission's items, numbered 1..n in record order.
std::vector<CMissionItem> PlaceDemoItems(const DemoMissionPlan& plan, const DemoTerrain& terrain,
                                         const DemoCatalogue& catalogue, DemoRandom& rng);

} // namespace orvik::gamedata
