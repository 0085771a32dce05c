#include "gamedata/DemoMissions.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace orvik::gamedata {

namespace {

constexpr char kLongTitle[] = "Operation Iron Harvest: The Long Retreat";
static_assert(sizeof(kLongTitle) - 1 == 40, "the long title fills the whole title field");

struct Role {
    int minItems;
    int maxItems;
    int centres;
};

// Each index has a fixed part to play, so that every demo has the awkward cases.
constexpr std::array<Role, 9> kRoles = {{
    {60, 180, 1},
    {0, 0, 0},       // empty
    {2000, 2000, 1}, // the largest
    {150, 400, 2},   // two centre items: the last one wins
    {8, 30, 0},      // no centre item: the view centres on the items
    {300, 900, 1},   // the 40-character title
    {400, 1200, 1},  // the name in capitals
    {20, 120, 1},
    {1, 5, 1},
}};
constexpr std::size_t kLongTitleRole = 5;
constexpr std::size_t kCapitalRole = 6;

// World position of a map point, with "south" growing downwards the map: world Y = -south.
struct WorldPoint {
    std::int64_t x = 0;
    std::int64_t south = 0;
};

class Placer {
public:
    Placer(const DemoTerrain& terrain, DemoRandom& rng) : m_terrain(terrain), m_rng(rng) {}

    WorldPoint Centre(const MapPoint& p) const
    {
        return {std::int64_t{p.x} * kWorldPerPixel + kWorldPerPixel / 2,
                std::int64_t{p.y} * kWorldPerPixel + kWorldPerPixel / 2};
    }

    // Near a point, on land when a few tries find some.
    WorldPoint Near(const WorldPoint& p, int spreadPixels)
    {
        WorldPoint best{};
        for (int attempt = 0; attempt < 4; ++attempt) {
            const std::int64_t spread = std::int64_t{spreadPixels} * kWorldPerPixel;
            best = Clamp({p.x + m_rng.Around(spread), p.south + m_rng.Around(spread)});
            if (IsLand(best))
                break;
        }
        return best;
    }

    WorldPoint OnRoad()
    {
        if (m_terrain.roads.empty())
            return Anywhere();
        const auto& road = m_rng.Pick(m_terrain.roads);
        const auto i = static_cast<std::size_t>(m_rng.Range(1, static_cast<std::int32_t>(road.size()) - 1));
        const WorldPoint a = Centre(road[i - 1]);
        const WorldPoint b = Centre(road[i]);
        const std::int64_t t = m_rng.Range(0, 1000);
        return Clamp({a.x + (b.x - a.x) * t / 1000 + m_rng.Around(kWorldPerPixel / 2),
                      a.south + (b.south - a.south) * t / 1000 + m_rng.Around(kWorldPerPixel / 2)});
    }

    WorldPoint Anywhere()
    {
        WorldPoint best{};
        for (int attempt = 0; attempt < 6; ++attempt) {
            best = {m_rng.Range(0, kWorldExtent - 1), m_rng.Range(0, kWorldExtent - 1)};
            if (IsLand(best))
                break;
        }
        return best;
    }

    int Height(const WorldPoint& p) const { return m_terrain.HeightAt(Pixel(p.x), Pixel(p.south)); }

private:
    static int Pixel(std::int64_t v) { return static_cast<int>(v / kWorldPerPixel); }
    static WorldPoint Clamp(WorldPoint p)
    {
        p.x = std::clamp<std::int64_t>(p.x, 0, kWorldExtent - 1);
        p.south = std::clamp<std::int64_t>(p.south, 0, kWorldExtent - 1);
        return p;
    }
    bool IsLand(const WorldPoint& p) const { return m_terrain.IsLand(Pixel(p.x), Pixel(p.south)); }

    const DemoTerrain& m_terrain;
    DemoRandom& m_rng;
};

DemoCategory PickCategory(DemoRandom& rng)
{
    // People, decorations, vehicles, buildings, objects, markers.
    static constexpr std::array<int, kDemoCategoryCount> kWeights = {24, 26, 9, 12, 17, 12};
    int roll = rng.Range(0, 99);
    for (int c = 0; c < kDemoCategoryCount; ++c) {
        roll -= kWeights[static_cast<std::size_t>(c)];
        if (roll < 0)
            return static_cast<DemoCategory>(c);
    }
    return DemoCategory::Markers;
}

// Where an item of a category tends to stand.
WorldPoint PlaceFor(DemoCategory category, const WorldPoint& base, const WorldPoint& grove, Placer& placer,
                    DemoRandom& rng)
{
    const int roll = rng.Range(0, 99);
    switch (category) {
    case DemoCategory::Buildings: return placer.Near(base, 11);
    case DemoCategory::People:
        return roll < 75 ? placer.Near(base, 18) : roll < 90 ? placer.OnRoad() : placer.Anywhere();
    case DemoCategory::Vehicles:
        return roll < 50 ? placer.Near(base, 15) : roll < 95 ? placer.OnRoad() : placer.Anywhere();
    case DemoCategory::Decorations:
        return roll < 40 ? placer.Near(base, 36) : roll < 85 ? placer.Near(grove, 18) : placer.Anywhere();
    case DemoCategory::Objects: return roll < 85 ? placer.Near(base, 9) : placer.OnRoad();
    case DemoCategory::Markers: return roll < 55 ? placer.OnRoad() : placer.Near(base, 20);
    }
    return base;
}

CMissionItem MakeItem(const DemoKind& kind, const WorldPoint& at, int height, DemoRandom& rng)
{
    static constexpr std::array<std::int32_t, 9> kOtherFlags = {1, 2, 4, 8, 32, 64, 128, 256, 1024};
    CMissionItem item;
    item.m_nWord0 = static_cast<std::int32_t>(rng.Next() | 1u);
    item.m_nId = kind.id;
    item.m_nX = static_cast<std::int32_t>(at.x);
    item.m_nY = static_cast<std::int32_t>(-at.south);
    item.m_nZ = height * 4096 + (kind.category == DemoCategory::Buildings ? 0 : rng.Range(0, 900));
    item.m_nWord2 = rng.Chance(70) ? rng.Range(0, 5) : static_cast<std::int32_t>(rng.Next());
    item.m_nAngle =
        kind.category == DemoCategory::Buildings && rng.Chance(80) ? rng.Range(0, 3) * 90 : rng.Range(0, 359);
    if (rng.Chance(25))
        item.m_nFlags |=
            kOtherFlags[static_cast<std::size_t>(rng.Range(0, static_cast<std::int32_t>(kOtherFlags.size()) - 1))];
    const int mpChance = kind.category == DemoCategory::Markers || kind.category == DemoCategory::Vehicles ? 18 : 7;
    if (!kind.centre && rng.Chance(mpChance))
        item.m_nFlags |= CMissionItem::kMpOnlyFlag;
    for (auto& w : item.m_nWords8To13)
        w = rng.Chance(50) ? rng.Range(-1000, 1000) : 0;
    for (auto& w : item.m_nWords15To23)
        w = rng.Chance(30) ? static_cast<std::int32_t>(rng.Next()) : 0;
    return item;
}

} // namespace

std::vector<DemoMissionPlan> PlanDemoMissions(std::size_t terrainCount, DemoRandom& rng)
{
    std::vector<std::string> stems = {"outpost", "convoy", "ridge",    "harbour",  "pass",   "village",
                                      "depot",   "bridge", "airfield", "crossing", "patrol", "siege"};
    std::vector<std::string> titles = {"Border Outpost",  "Convoy Ambush at Dry Creek",
                                       "Hold the Ridge",  "Night Raid on Fort Kessar",
                                       "Supply Lines",    "The Frozen Pass",
                                       "Harbour Landing", "Operation Sandglass",
                                       "Village Patrol",  "Last Light over Vard\xF8",
                                       "Training Ground", "Bridge at Greyford"};
    rng.Shuffle(stems);
    rng.Shuffle(titles);
    const auto count = static_cast<std::size_t>(rng.Range(8, 9));
    const auto firstTerrain = static_cast<std::size_t>(rng.Range(0, static_cast<std::int32_t>(terrainCount) - 1));

    std::vector<DemoMissionPlan> plans;
    for (std::size_t i = 0; i < count; ++i) {
        DemoMissionPlan plan;
        const std::string number = (i < 9 ? "m0" : "m") + std::to_string(i + 1);
        plan.entryName = i == kCapitalRole ? "M07_ASSAULT.BMS" : number + "_" + stems[i] + ".bms";
        plan.title = i == kLongTitleRole ? kLongTitle : i == kCapitalRole ? "Dawn Assault" : titles[i];
        plan.terrain = (firstTerrain + i) % terrainCount;
        plan.itemCount = rng.Range(kRoles[i].minItems, kRoles[i].maxItems);
        plan.centres = std::min(kRoles[i].centres, plan.itemCount);
        plans.push_back(std::move(plan));
    }
    return plans;
}

std::vector<CMissionItem> PlaceDemoItems(const DemoMissionPlan& plan, const DemoTerrain& terrain,
                                         const DemoCatalogue& catalogue, DemoRandom& rng)
{
    Placer placer(terrain, rng);
    const int others = plan.itemCount - plan.centres;

    // Bases on the terrain's settlements; bigger missions spread over more of them.
    std::vector<std::size_t> siteOrder(terrain.sites.size());
    for (std::size_t i = 0; i < siteOrder.size(); ++i)
        siteOrder[i] = i;
    rng.Shuffle(siteOrder);
    const std::size_t baseCount = std::clamp<std::size_t>(1 + static_cast<std::size_t>(others) / 150, 1,
                                                          std::min<std::size_t>(5, siteOrder.size()));
    std::vector<WorldPoint> bases;
    for (std::size_t i = 0; i < baseCount; ++i)
        bases.push_back(placer.Centre(terrain.sites[siteOrder[i]]));
    std::vector<WorldPoint> groves;
    for (int i = rng.Range(2, 5); i > 0; --i)
        groves.push_back(placer.Anywhere());

    // Every category at least once in all but the smallest missions.
    std::vector<DemoCategory> categories;
    for (int i = 0; i < others; ++i)
        categories.push_back(others >= 12 && i < kDemoCategoryCount ? static_cast<DemoCategory>(i) : PickCategory(rng));
    rng.Shuffle(categories);

    std::array<std::vector<const DemoKind*>, kDemoCategoryCount> kinds;
    for (int c = 0; c < kDemoCategoryCount; ++c)
        kinds[static_cast<std::size_t>(c)] = catalogue.OfCategory(static_cast<DemoCategory>(c));

    std::vector<CMissionItem> items;
    items.reserve(static_cast<std::size_t>(plan.itemCount));
    for (DemoCategory category : categories) {
        const DemoKind& kind = *rng.Pick(kinds[static_cast<std::size_t>(category)]);
        const WorldPoint at = PlaceFor(category, rng.Pick(bases), rng.Pick(groves), placer, rng);
        items.push_back(MakeItem(kind, at, placer.Height(at), rng));
    }
    if (others >= 5 && std::none_of(items.begin(), items.end(), [](const CMissionItem& i) { return i.IsMpOnly(); }))
        items[static_cast<std::size_t>(rng.Range(0, others - 1))].m_nFlags |= CMissionItem::kMpOnlyFlag;

    // The centre items stand in the bases (two of them, when there are two, on different sites).
    for (int c = 0; c < plan.centres; ++c) {
        const MapPoint& site = terrain.sites[siteOrder[static_cast<std::size_t>(c) % siteOrder.size()]];
        const WorldPoint at = placer.Near(placer.Centre(site), 1);
        const auto where = items.begin() + rng.Range(0, static_cast<std::int32_t>(items.size()));
        items.insert(where, MakeItem(catalogue.Centre(), at, placer.Height(at), rng));
    }
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i].m_nNumber = static_cast<std::int32_t>(i + 1);
    return items;
}

} // namespace orvik::gamedata
