#include "gamedata/DemoCatalogue.h"

#include <stdexcept>

namespace orvik::gamedata {

namespace {

struct CategoryNames {
    DemoCategory category;
    int minCount;
    std::vector<std::string> names;
};

// None of these may hold "center" in any letter case: the editor would centre the map on them.
std::vector<CategoryNames> AllNames()
{
    return {
        {DemoCategory::People,
         7,
         {"Rifleman", "Machine Gunner", "Sniper", "Medic", "Officer", "Grenadier", "Radio Operator", "Scout",
          "Engineer", "Villager", "Farmer", "Guard", "Mortar Crew", "Pilot", "Sapper"}},
        {DemoCategory::Buildings,
         7,
         {"Watchtower", "Barracks", "Bunker", "Farmhouse", "Church", "Warehouse", "Fuel Depot", "Radio Mast",
          "Command Post", "Stone Bridge", "Hangar", "Field Hospital", "Cottage", "Pillbox", "Lighthouse"}},
        {DemoCategory::Decorations,
         7,
         {"Pine Tree", "Oak Tree", "Birch", "Palm Tree", "Bush", "Boulder", "Rock Pile", "Fence", "Stone Wall",
          "Haystack", "Cactus", "Dead Tree", "Sandbags", "Tree Stump", "Snowdrift", "Caf\xE9 Table"}},
        {DemoCategory::Vehicles,
         6,
         {"Supply Truck", "Jeep", "Light Tank", "Heavy Tank", "Armoured Car", "Motorcycle", "Halftrack", "Fuel Truck",
          "Patrol Boat", "Transport Helicopter", "Staff Car"}},
        {DemoCategory::Markers,
         6,
         {"Waypoint", "Spawn Point", "Rally Point", "Objective", "Trigger Zone", "Camera Path", "Extraction Zone",
          "Ambush Point"}},
        {DemoCategory::Objects,
         6,
         {"Ammo Crate", "Medical Kit", "Fuel Barrel", "Explosive Charge", "Radio Set", "Supply Drop", "Documents",
          "Mine", "Flag Pole", "Campfire", "Weapon Rack"}},
    };
}

} // namespace

std::int32_t FirstKindId(DemoCategory category)
{
    switch (category) {
    case DemoCategory::Decorations: return 1001;
    case DemoCategory::Vehicles: return 2001;
    case DemoCategory::Buildings: return 3001;
    case DemoCategory::Objects: return 4001;
    case DemoCategory::People: return 5001;
    case DemoCategory::Markers: return 6001;
    }
    return 0;
}

std::vector<const DemoKind*> DemoCatalogue::OfCategory(DemoCategory category) const
{
    std::vector<const DemoKind*> out;
    for (const auto& kind : kinds)
        if (kind.category == category && !kind.centre)
            out.push_back(&kind);
    return out;
}

const DemoKind& DemoCatalogue::Centre() const
{
    for (const auto& kind : kinds)
        if (kind.centre)
            return kind;
    throw std::logic_error("the demo catalogue has no centre marker");
}

std::vector<ItemDefSpec> DemoCatalogue::Specs() const
{
    std::vector<ItemDefSpec> out;
    out.reserve(kinds.size());
    for (const auto& kind : kinds)
        out.push_back({kind.name, kind.id});
    return out;
}

DemoCatalogue BuildDemoCatalogue(DemoRandom& rng)
{
    auto groups = AllNames();
    rng.Shuffle(groups);
    DemoCatalogue catalogue;
    for (auto& group : groups) {
        rng.Shuffle(group.names);
        const auto count =
            static_cast<std::size_t>(rng.Range(group.minCount, static_cast<std::int32_t>(group.names.size())));
        group.names.resize(count);
        // The centre marker sits among the markers, as a game's own catalogue would have it.
        const auto centreAt =
            group.category == DemoCategory::Markers ? rng.Range(0, static_cast<std::int32_t>(count)) : -1;
        std::int32_t id = FirstKindId(group.category) + rng.Range(0, 20);
        for (std::size_t i = 0; i <= count; ++i) {
            if (static_cast<std::int32_t>(i) == centreAt) {
                catalogue.kinds.push_back({"Map Center", id, group.category, true});
                id += rng.Range(1, 9);
            }
            if (i < count) {
                catalogue.kinds.push_back({group.names[i], id, group.category, false});
                id += rng.Range(1, 9);
            }
        }
    }
    return catalogue;
}

} // namespace orvik::gamedata
