#pragma once
// Test data for the mission tests: items with every word varied, and byte helpers.
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "mission/MissionItem.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvik::test {

// An item whose 24 words all differ (word 0 nonzero, unused words full of bits).
inline CMissionItem MakeItem(std::int32_t id, std::uint32_t seed, std::int32_t flags = 0)
{
    std::array<std::int32_t, CMissionItem::kWords> w{};
    for (std::size_t i = 0; i < w.size(); ++i)
        w[i] = static_cast<std::int32_t>(seed * 2654435761u + static_cast<std::uint32_t>(i) * 40503u + 0x80000001u);
    w[0] = static_cast<std::int32_t>(seed + 1);
    w[1] = id;
    w[4] = flags;
    CMissionItem item;
    item.FromWords(w);
    return item;
}

// The words an item should have after a round trip through the file: word 0 is never kept.
inline std::array<std::int32_t, CMissionItem::kWords> KeptWords(const CMissionItem& item)
{
    auto w = item.ToWords();
    w[0] = 0;
    return w;
}

inline std::vector<std::uint8_t> Bytes(const std::string& text)
{
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

} // namespace orvik::test
