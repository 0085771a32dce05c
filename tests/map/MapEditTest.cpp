// The map as an editing surface: coordinate cells, hit tests, drags, panning, zoom and rings.
#include "map/MapView.h"

#include "gamedata/PcxWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

using namespace orvik;

namespace {

constexpr std::int32_t kUnit = 131072;
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

struct Fixture : ::testing::Test {
    test::ScratchDir dir;
    CMissionModel model;
    MapView view;
    Canvas frame{512, 512};

    // Items at world positions, then the view centred on world (0, 0).
    void Items(const std::vector<std::pair<std::int32_t, WorldPoint>>& items)
    {
        for (const auto& [id, p] : items) {
            auto item = std::make_unique<CMissionItem>();
            item->m_nId = id;
            item->m_nX = p.x;
            item->m_nY = p.y;
            model.items.push_back(std::move(item));
        }
        view.SetModel(&model);
        view.SetCenter(0, 0);
    }
};

TEST(MapCoordinateCells, OnlyWholeThirtyTwoBitNumbersArePositions)
{
    struct Case {
        const char* text;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {"0", 0},
        {"-5", -5},
        {" 42 ", 42},
        {"+7", 7},
        {"2147483647", kMax},
        {"-2147483648", kMin},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"12x", std::nullopt},
        {"1 2", std::nullopt},
        {"+-3", std::nullopt},
        {"++3", std::nullopt},
        {"-", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseCoordinate(c.text), c.value) << '"' << c.text << '"';
}

using MapHitTest = Fixture;

TEST_F(MapHitTest, WithinThreePixelsTheLastDrawnMarkerWins)
{
    // Items 0 and 1 share frame pixel (266, 246); item 2 is a decoration at (300, 300); item 3 is
    // of no category at (200, 200).
    Items({{5001, {10 * kUnit, 10 * kUnit}},
           {3001, {10 * kUnit, 10 * kUnit}},
           {1001, {44 * kUnit, -44 * kUnit}},
           {7000, {-56 * kUnit, 56 * kUnit}}});
    struct Case {
        int x, y;
        std::optional<std::size_t> item;
    };
    const Case cases[] = {
        {266, 246, 1},
        {269, 246, 1},
        {266, 243, 1},
        {268, 248, 1}, // inside the radius
        {270, 246, std::nullopt},
        {269, 249, std::nullopt}, // just outside
        {300, 300, 2},
        {297, 300, 2},
        {200, 200, std::nullopt}, // no category, no marker
        {0, 0, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(view.ItemAt(c.x, c.y), c.item) << c.x << "," << c.y;

    // A hidden category is not hit: the person underneath is found instead.
    view.m_bShowBuildings = false;
    EXPECT_EQ(view.ItemAt(266, 246), 0u);
    view.m_bShowPeople = false;
    EXPECT_EQ(view.ItemAt(266, 246), std::nullopt);
}

TEST_F(MapHitTest, ABandHoldsTheShownMarkersCentredInIt)
{
    // Items at whole pixels, some off the frame, of every category and none; buildings hidden.
    std::mt19937 rng(7);
    const std::int32_t kinds[] = {1500, 2500, 3500, 4500, 5500, 6500, 7000};
    std::vector<std::pair<std::int32_t, WorldPoint>> items;
    for (int i = 0; i < 400; ++i)
        items.push_back({kinds[rng() % 7], {(static_cast<std::int32_t>(rng() % 600) - 300) * kUnit,
                                            (static_cast<std::int32_t>(rng() % 600) - 300) * kUnit}});
    Items(items);
    view.m_bShowBuildings = false;
    for (int band = 0; band < 50; ++band) {
        const int x0 = static_cast<int>(rng() % 600) - 50, y0 = static_cast<int>(rng() % 600) - 50;
        const int x1 = static_cast<int>(rng() % 600) - 50, y1 = static_cast<int>(rng() % 600) - 50;
        std::vector<std::size_t> expected;
        for (std::size_t i = 0; i < items.size(); ++i) {
            // Frame pixel (256 + x, 256 - y) for map pixel (x, y) around the centre.
            const int fx = 256 + items[i].second.x / kUnit, fy = 256 - items[i].second.y / kUnit;
            const bool drawn = fx > 0 && fx < 512 && fy > 0 && fy < 512 && view.IsShown(CategoryOf(items[i].first));
            if (drawn && fx >= std::min(x0, x1) && fx <= std::max(x0, x1) && fy >= std::min(y0, y1) && fy <= std::max(y0, y1))
                expected.push_back(i);
        }
        EXPECT_EQ(view.ItemsIn(x0, y0, x1, y1), expected) << x0 << "," << y0 << " " << x1 << "," << y1;
    }
}

using MapDrag = Fixture;

TEST_F(MapDrag, DropPositionsFollowThePixelsAtEveryZoomAndClamp)
{
    struct Case {
        int zoom;
        WorldPoint start;
        int dx, dy;
        WorldPoint expected;
    };
    const Case cases[] = {
        // One map pixel is 131072 units at 1x, half that at 2x, an eighth at 8x; down is south.
        {1, {10 * kUnit, 10 * kUnit}, 5, -3, {15 * kUnit, 13 * kUnit}},
        {1, {10 * kUnit + 100, 10 * kUnit}, 0, 0, {10 * kUnit, 10 * kUnit}}, // snapped to the pixel
        {2, {10 * kUnit, 10 * kUnit}, 4, 2, {12 * kUnit, 9 * kUnit}},
        {8, {kUnit, -kUnit}, 8, 8, {2 * kUnit, -2 * kUnit}},
        {8, {0, 0}, 1, -1, {kUnit / 8, kUnit / 8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        model.items.clear();
        Items({{5001, c.start}, {5001, {3 * kUnit, 3 * kUnit}}});
        view.SetZoom(c.zoom, 256, 256);
        view.SetCenter(0, 0);
        view.SetDrag({0}, c.dx, c.dy);
        const auto drops = view.DropPositions();
        ASSERT_EQ(drops.size(), 1u);
        EXPECT_EQ(drops[0].first, 0u);
        EXPECT_EQ(drops[0].second, c.expected);
        view.ClearDrag();
        EXPECT_EQ(view.PositionOf(1), (WorldPoint{3 * kUnit, 3 * kUnit}));
    }
}

TEST_F(MapDrag, FarItemsClampToThirtyTwoBits)
{
    Items({{5001, {kMax, kMin}}, {5001, {kMin, kMax}}});
    view.SetCenter(kMax, kMin);
    view.SetDrag({0, 1}, 1000, 1000);
    for (const auto& [item, p] : view.DropPositions()) {
        SCOPED_TRACE(item);
        if (item == 0)
            EXPECT_EQ(p, (WorldPoint{kMax, kMin}));
        else
            EXPECT_EQ(p, (WorldPoint{static_cast<std::int32_t>(kMin / kUnit + 1000) * kUnit,
                                     static_cast<std::int32_t>(kMax / kUnit - 1000) * kUnit}));
    }
}

TEST_F(MapDrag, MarkersFollowTheDragAndTheSelectionGetsRings)
{
    Items({{1001, {0, 0}}, {1001, {20 * kUnit, 0}}});
    view.SetSelection({1, 5}); // 5 is not an item
    EXPECT_EQ(view.Selection(), (std::vector<std::size_t>{1}));
    view.Paint(frame);
    // The ring around (276, 256): white at distance 5, black edges at 4 and 6; the marker stays.
    EXPECT_EQ(frame.Pixel(276, 256), (Rgb{0, 255, 0}));
    for (const auto& [dx, dy, colour] : std::vector<std::tuple<int, int, Rgb>>{
             {5, 0, kWhite}, {-5, 0, kWhite}, {0, 5, kWhite}, {3, 4, kWhite}, {4, 0, kBlack}, {6, 0, kBlack}}) {
        EXPECT_EQ(frame.Pixel(276 + dx, 256 + dy), colour) << dx << "," << dy;
        if (colour == kWhite) { // the unselected item on black ground has no ring
            EXPECT_NE(frame.Pixel(256 + dx, 256 + dy), colour) << "unselected " << dx << "," << dy;
        }
    }
    view.SetDrag({0}, 10, 7);
    view.Paint(frame);
    EXPECT_EQ(frame.Pixel(266, 263), (Rgb{0, 255, 0}));
    EXPECT_NE(frame.Pixel(256, 256), (Rgb{0, 255, 0}));
    EXPECT_EQ(view.ItemAt(266, 263), 0u);
}

using MapZoom = Fixture;

TEST_F(MapZoom, ReadoutMarkersAndPanAtEachZoom)
{
    Items({{5001, {10 * kUnit, -6 * kUnit}}});
    struct Case {
        int zoom;
        int markerX, markerY; // hand-computed: 256 + 10 * zoom, 256 + 6 * zoom
        const char* readout;  // at frame (266, 246)
    };
    const Case cases[] = {
        {1, 266, 262, "x: 1310720   y: 1310720"},
        {2, 276, 268, "x: 655360   y: 655360"},
        {4, 296, 280, "x: 327680   y: 327680"},
        {8, 336, 304, "x: 163840   y: 163840"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.zoom);
        view.SetZoom(c.zoom, 256, 256);
        view.SetCenter(0, 0);
        EXPECT_EQ(view.Zoom(), c.zoom);
        EXPECT_EQ(view.ReadoutText(266, 246), c.readout);
        EXPECT_EQ(view.ItemAt(c.markerX, c.markerY), 0u);
        // Panning moves the ground with the mouse: the marker moves by the same pixels.
        view.PanBy(-7, 9);
        EXPECT_EQ(view.ItemAt(c.markerX - 7, c.markerY + 9), 0u);
    }
    EXPECT_FALSE(view.SetZoom(3, 0, 0));
    EXPECT_FALSE(view.SetZoom(8, 0, 0)); // unchanged
}

TEST_F(MapZoom, TheWorldPointUnderTheMouseStays)
{
    Items({});
    const std::pair<int, int> steps[] = {{1, 2}, {2, 8}, {8, 4}, {4, 1}, {1, 8}, {8, 1}};
    for (const auto& [from, to] : steps) {
        view.SetZoom(from, 0, 0);
        view.SetCenter(0, 0);
        const WorldPoint before = view.WorldAt(100, 400);
        ASSERT_TRUE(view.SetZoom(to, 100, 400));
        const WorldPoint after = view.WorldAt(100, 400);
        // Equal to within one screen pixel of the coarser zoom.
        const std::int32_t tolerance = kUnit / std::min(from, to);
        EXPECT_LE(std::abs(after.x - before.x), tolerance) << from << "->" << to;
        EXPECT_LE(std::abs(after.y - before.y), tolerance) << from << "->" << to;
        if (to > from) {
            EXPECT_EQ(after, before) << from << "->" << to;
        }
    }
}

TEST_F(MapZoom, TerrainComesFromTheFullMapNearestNeighbour)
{
    // Every full-size pixel has its own colour: red = column, green = row (low bits), blue = high bits.
    const auto colour = [](std::uint32_t c, std::uint32_t r) {
        return Rgb{static_cast<std::uint8_t>(c & 255), static_cast<std::uint8_t>(r & 255),
                   static_cast<std::uint8_t>((c >> 8) * 4 + (r >> 8))};
    };
    PackedImage image{1024, 1024, std::vector<std::uint8_t>(1024 * 1024 * 3)};
    for (std::uint32_t y = 0; y < 1024; ++y)
        for (std::uint32_t x = 0; x < 1024; ++x) {
            const Rgb c = colour(x, y);
            std::uint8_t* p = &image.pixels[(std::size_t{y} * 1024 + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    const std::string path = dir.File("full.pcx");
    test::WriteBytes(path, gamedata::EncodePcx24(image));
    view.LoadMap(path);
    Items({});
    struct Case {
        int zoom;
        int x, y;           // frame pixel, centred on world (0, 0)
        std::uint32_t c, r; // full-size pixel shown
    };
    const Case cases[] = {
        {2, 256, 256, 0, 0}, {2, 257, 258, 1, 2}, {2, 255, 255, 1023, 1023}, {2, 0, 511, 768, 255},
        {4, 256, 256, 0, 0}, {4, 257, 257, 0, 0}, {4, 258, 259, 1, 1},       {4, 255, 253, 1023, 1022},
        {8, 259, 256, 0, 0}, {8, 260, 263, 1, 1}, {8, 252, 256, 1023, 0},    {8, 251, 256, 1022, 0},
    };
    for (const Case& c : cases) {
        view.SetZoom(c.zoom, 256, 256);
        view.SetCenter(0, 0);
        view.Paint(frame);
        EXPECT_EQ(frame.Pixel(c.x, c.y), colour(c.c, c.r)) << c.zoom << " at " << c.x << "," << c.y;
    }
}

} // namespace
