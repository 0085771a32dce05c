#pragma once
// Archives and catalogues for the check and comparison tests, made with the game-data writers.
#include "catalogue/ItemDefList.h"
#include "gamedata/ItemDefWriter.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "mission/MissionItem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::test {

constexpr std::int32_t kPixel = 131072;
enum : std::int32_t { kTree = 1, kRock = 2, kCamp = 3, kRock2 = 4, kUnknown = 99 };

// "Rock" names two kinds; "Camp Center" is the centre item.
inline CItemDefList CheckCatalogue()
{
    CItemDefList list;
    list.LoadText(
        gamedata::BuildItemDef({{"Tree", kTree}, {"Rock", kRock}, {"Camp Center", kCamp}, {"Rock", kRock2}}, 3));
    return list;
}

// An item at map pixel (px, py) south-east of world (0, 0), its unshown words varied by seed.
inline CMissionItem Item(std::int32_t id, std::int32_t px, std::int32_t py, std::int32_t angle = 90,
                         std::uint32_t seed = 1)
{
    CMissionItem item;
    item.m_nId = id;
    item.m_nX = px * kPixel + 5;
    item.m_nY = -py * kPixel - 7;
    item.m_nZ = 1000;
    item.m_nAngle = angle;
    item.m_nNumber = static_cast<std::int32_t>(seed * 11);
    item.m_nWord2 = static_cast<std::int32_t>(seed * 2654435761u);
    for (std::size_t i = 0; i < item.m_nWords8To13.size(); ++i)
        item.m_nWords8To13[i] = static_cast<std::int32_t>(seed * 40503u + i);
    return item;
}

inline std::vector<std::uint8_t> Mission(std::vector<CMissionItem> items, bool endMark = true)
{
    gamedata::MissionSpec plan;
    plan.title = "Test";
    plan.terrainName = "plain.ter";
    plan.items = std::move(items);
    plan.endMark = endMark;
    if (!endMark)
        plan.tailSize = 0;
    return gamedata::BuildMission(plan);
}

} // namespace orvik::test
