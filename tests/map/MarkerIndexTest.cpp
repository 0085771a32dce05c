// The map's spatial index through its own interface: the items a range finds, and the top markers
// it keeps per cell as items move, are dragged and change kind.
#include "map/MarkerIndex.h"
#include "map/MapView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace orvik;

namespace {

constexpr std::int32_t kUnit = 131072;

// Each item's key is given; none is away unless named.
MarkerIndex::Look LookOf(const std::vector<std::uint64_t>& keys, const std::set<std::uint32_t>& away = {})
{
    return {[&keys](std::uint32_t i) { return keys[i]; }, [away](std::uint32_t i) { return away.count(i) > 0; }};
}

std::vector<std::size_t> Tops(const MarkerIndex& index, const MarkerIndex::Look& look, std::size_t count)
{
    std::vector<bool> shown(count, false);
    index.MarkAllTops(look, shown);
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < count; ++i)
        if (shown[i])
            out.push_back(i);
    return out;
}

TEST(MarkerIndex, CollectsExactlyTheItemsOfTheCellsARangeTouches)
{
    std::mt19937 rng(5);
    const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const auto place = [&] {
        return WorldPoint{(pick(80) - 40) * kUnit + pick(kUnit), (pick(80) - 40) * kUnit - pick(kUnit)};
    };
    std::vector<WorldPoint> positions(500);
    for (WorldPoint& p : positions)
        p = place();
    MarkerIndex index;
    index.Build(positions);
    const std::vector<std::uint64_t> keys(positions.size(), 0);
    const auto cell = [](std::int32_t world) { return (world >> 17) >> 2; }; // floor of pixels / 4
    for (int step = 0; step < 300; ++step) {
        const auto item = static_cast<std::size_t>(pick(500));
        const WorldPoint to = place();
        index.Move(item, positions[item], to);
        positions[item] = to;
        const int x0 = pick(100) - 50, y0 = pick(100) - 50, x1 = x0 + pick(30), y1 = y0 + pick(30);
        std::vector<std::size_t> found;
        index.Collect(x0, x1, y0, y1, false, LookOf(keys), found);
        std::sort(found.begin(), found.end());
        std::vector<std::size_t> wanted;
        const auto floor4 = [](int v) { return v >= 0 ? v / 4 : -((-v + 3) / 4); };
        for (std::size_t i = 0; i < positions.size(); ++i)
            if (cell(positions[i].x) >= floor4(x0) && cell(positions[i].x) <= floor4(x1) &&
                cell(positions[i].y) >= floor4(y0) && cell(positions[i].y) <= floor4(y1))
                wanted.push_back(i);
        ASSERT_EQ(found, wanted) << "step " << step;
    }
}

TEST(MarkerIndex, KeepsTheLastItemOfEachPixelAndKindThatIsNotAway)
{
    struct Case {
        std::vector<std::uint64_t> keys;
        std::set<std::uint32_t> away;
        std::vector<std::size_t> tops;
    };
    // clang-format off
    const Case cases[] = {
        {{7, 8, 7, 9, 8}, {}, {2, 3, 4}},
        {{7, 8, 7, 9, 8}, {4}, {1, 2, 3}},
        {{7, 7, 7}, {2, 1}, {0}},
        {{7, 7, 7}, {0, 1, 2}, {}},
        {{1, 2, 3}, {}, {0, 1, 2}},
    };
    // clang-format on
    for (const Case& c : cases) {
        MarkerIndex index;
        index.Build(std::vector<WorldPoint>(c.keys.size(), WorldPoint{5 * kUnit, 5 * kUnit})); // one cell
        EXPECT_EQ(Tops(index, LookOf(c.keys, c.away), c.keys.size()), c.tops);
    }
}

TEST(MarkerIndex, KeptTopsGoStaleOnlyWhenTold)
{
    const WorldPoint here{kUnit, kUnit}, there{90 * kUnit, 90 * kUnit};
    std::vector<std::uint64_t> keys = {7, 7, 7};
    MarkerIndex index;
    index.Build({here, here, there});
    EXPECT_EQ(Tops(index, LookOf(keys), 3), (std::vector<std::size_t>{1, 2}));
    // A later item moved onto the pixel covers the one that showed there.
    index.Move(2, there, here);
    EXPECT_EQ(Tops(index, LookOf(keys), 3), (std::vector<std::size_t>{2}));
    // New kinds are seen once every cell is told, a drag once its cell is.
    keys = {7, 8, 9};
    EXPECT_EQ(Tops(index, LookOf(keys), 3), (std::vector<std::size_t>{2}));
    index.ForgetTops();
    EXPECT_EQ(Tops(index, LookOf(keys), 3), (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(Tops(index, LookOf(keys, {0}), 3), (std::vector<std::size_t>{0, 1, 2}));
    index.Touch(here);
    EXPECT_EQ(Tops(index, LookOf(keys, {0}), 3), (std::vector<std::size_t>{1, 2}));
}

} // namespace
