#include "map/MapView.h"

#include "gamedata/PcxWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

using namespace orvik;

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kGround{10, 20, 30};

// An item whose marker lands on window pixel (px, py) while the view is centred on world (0, 0).
CMissionItem ItemAt(int px, int py, std::int32_t id, std::int32_t number = 1)
{
    CMissionItem item;
    item.m_nId = id;
    item.m_nX = (px - 256) * 131072;
    item.m_nY = -(py - 256) * 131072;
    item.m_nNumber = number;
    return item;
}

void AddItem(CMissionModel& model, const CMissionItem& item)
{
    model.items.push_back(std::make_unique<CMissionItem>(item));
}

// Writes a 24-bit colour map whose 2 x 2 blocks share a colour, so the shrunk pixel (c, r) is
// exactly colour(c, r).
template <typename F>
std::string WriteColourMap(const test::ScratchDir& dir, const std::string& name, std::uint32_t w, std::uint32_t h,
                           F colour)
{
    PackedImage image{w, h, std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
    for (std::uint32_t y = 0; y < h; ++y)
        for (std::uint32_t x = 0; x < w; ++x) {
            const Rgb c = colour(static_cast<int>(x / 2), static_cast<int>(y / 2));
            auto* p = &image.pixels[(static_cast<std::size_t>(y) * w + x) * 3];
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    const std::string path = dir.File(name);
    test::WriteBytes(path, gamedata::EncodePcx24(image));
    return path;
}

Rgb Pattern(int c, int r)
{
    return Rgb{static_cast<std::uint8_t>(c & 255), static_cast<std::uint8_t>(r & 255),
               static_cast<std::uint8_t>((c >> 8) + 2 * (r >> 8) + 100)};
}

struct Fixture : ::testing::Test {
    test::ScratchDir dir;
    CMissionModel model;
    MapView view;
    Canvas frame{512, 512};

    void LoadGround()
    {
        view.LoadMap(WriteColourMap(dir, "ground.pcx", 1024, 1024, [](int, int) { return kGround; }));
    }
    void CentreOnOrigin()
    {
        view.SetModel(&model);
        view.SetCenter(0, 0);
    }
};

using MapViewPaint = Fixture;

TEST_F(MapViewPaint, KeptColourMapsAreShownByTheirSourceOnly)
{
    const MapSource ground{"kq.pff", 7, 100, 50};
    view.LoadMap(WriteColourMap(dir, "ground.pcx", 1024, 1024, [](int, int) { return kGround; }), ground);
    view.LoadMap(WriteColourMap(dir, "pattern.pcx", 1024, 1024, Pattern), MapSource{"kq.pff", 7, 200, 50});
    struct Case {
        const char* what;
        MapSource source;
        bool kept;
    };
    const Case cases[] = {
        {"the same entry of the same file", ground, true},
        {"the file changed since", {"kq.pff", 8, 100, 50}, false},
        {"another entry", {"kq.pff", 7, 300, 50}, false},
        {"another size", {"kq.pff", 7, 100, 51}, false},
        {"another archive", {"other.pff", 7, 100, 50}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(view.ShowKeptMap(c.source), c.kept);
    }
    // The kept map is drawn again as terrain, and the view centre is forgotten as after a load.
    EXPECT_FALSE(view.IsCentered());
    ASSERT_TRUE(view.Image());
    EXPECT_EQ(view.Terrain().Pixel(300, 300), kGround);
}

} // namespace

TEST_F(MapViewPaint, MarkerFootprintsPixelByPixel)
{
    LoadGround();
    AddItem(model, ItemAt(50, 50, 3500));  // building
    AddItem(model, ItemAt(100, 50, 5500)); // person
    AddItem(model, ItemAt(150, 50, 2500)); // vehicle
    AddItem(model, ItemAt(200, 50, 6500)); // marker
    AddItem(model, ItemAt(250, 50, 1500)); // decoration
    AddItem(model, ItemAt(300, 50, 4500)); // object
    CentreOnOrigin();
    view.Paint(frame);

    // Building: outline x-3..x+2, white 4 x 4 inside; nothing at x+3.
    for (int y = 44; y <= 56; ++y)
        for (int x = 44; x <= 56; ++x) {
            Rgb want = kGround;
            if (x >= 47 && x <= 52 && y >= 47 && y <= 52)
                want = (x == 47 || x == 52 || y == 47 || y == 52) ? kBlack : kWhite;
            EXPECT_EQ(frame.Pixel(x, y), want) << x << "," << y;
        }
    // Ellipses: the 4 x 4 block x-2..x+1 less its corners.
    auto checkEllipse = [&](int cx, int cy, Rgb colour) {
        int painted = 0;
        for (int y = cy - 4; y <= cy + 4; ++y)
            for (int x = cx - 4; x <= cx + 4; ++x) {
                const bool inBlock = x >= cx - 2 && x <= cx + 1 && y >= cy - 2 && y <= cy + 1;
                const bool corner = (x == cx - 2 || x == cx + 1) && (y == cy - 2 || y == cy + 1);
                const bool want = inBlock && !corner;
                EXPECT_EQ(frame.Pixel(x, y), want ? colour : kGround) << x << "," << y;
                painted += want;
            }
        EXPECT_EQ(painted, 12);
    };
    checkEllipse(100, 50, Rgb{255, 0, 0});
    checkEllipse(150, 50, Rgb{191, 191, 191});
    // Plus sign: x-2..x+1 and y-2..y+1; end points left out.
    for (int y = 46; y <= 54; ++y)
        for (int x = 196; x <= 204; ++x) {
            const bool want = (y == 50 && x >= 198 && x <= 201) || (x == 200 && y >= 48 && y <= 51);
            EXPECT_EQ(frame.Pixel(x, y), (want ? Rgb{255, 255, 0} : kGround)) << x << "," << y;
        }
    // Single pixels.
    EXPECT_EQ(frame.Pixel(250, 50), (Rgb{0, 255, 0}));
    EXPECT_EQ(frame.Pixel(251, 50), kGround);
    EXPECT_EQ(frame.Pixel(300, 50), (Rgb{0, 255, 255}));
    EXPECT_EQ(frame.Pixel(300, 51), kGround);
}

TEST_F(MapViewPaint, CategoryBoundsAreOpen)
{
    LoadGround();
    const std::vector<std::int32_t> never = {0, 999, 1000, 2000, 3000, 4000, 5000, 6000, 7000, 7001, -5500};
    int x = 20;
    for (auto id : never) {
        AddItem(model, ItemAt(x, 100, id));
        x += 20;
    }
    const std::vector<std::pair<std::int32_t, Rgb>> edges = {
        {1001, {0, 255, 0}}, {1999, {0, 255, 0}}, {4001, {0, 255, 255}}, {4999, {0, 255, 255}}};
    int ex = 20;
    for (const auto& [id, colour] : edges) {
        AddItem(model, ItemAt(ex, 200, id));
        ex += 20;
    }
    AddItem(model, ItemAt(300, 200, 5001));
    AddItem(model, ItemAt(340, 200, 6999));
    CentreOnOrigin();
    view.Paint(frame);
    for (int y = 90; y < 110; ++y)
        for (int px = 0; px < 512; ++px)
            ASSERT_EQ(frame.Pixel(px, y), kGround) << px << "," << y;
    ex = 20;
    for (const auto& [id, colour] : edges) {
        EXPECT_EQ(frame.Pixel(ex, 200), colour) << id;
        ex += 20;
    }
    EXPECT_EQ(frame.Pixel(300, 200), (Rgb{255, 0, 0}));
    EXPECT_EQ(frame.Pixel(340, 200), (Rgb{255, 255, 0}));
}

TEST_F(MapViewPaint, TruncationTowardZeroPutsOppositeSmallValuesOnOneColumn)
{
    EXPECT_EQ(MapView::ToPixels(-100000), 0);
    EXPECT_EQ(MapView::ToPixels(100000), 0);
    EXPECT_EQ(MapView::ToPixels(-131072), -1);
    EXPECT_EQ(MapView::ToPixels(131071), 0);
    LoadGround();
    CMissionItem a = ItemAt(256, 100, 1500);
    a.m_nX = -100000;
    CMissionItem b = ItemAt(256, 120, 1500);
    b.m_nX = 100000;
    AddItem(model, a);
    AddItem(model, b);
    CentreOnOrigin();
    view.Paint(frame);
    EXPECT_EQ(frame.Pixel(256, 100), (Rgb{0, 255, 0}));
    EXPECT_EQ(frame.Pixel(256, 120), (Rgb{0, 255, 0}));
}

TEST_F(MapViewPaint, ChangesDrawTheSavedPlaceAndALineUnderTheMarker)
{
    LoadGround();
    AddItem(model, ItemAt(300, 200, 1500));
    CentreOnOrigin();
    view.SetSavedPosition(0, WorldPoint{(260 - 256) * 131072, -(190 - 256) * 131072});
    const Rgb ghost = MapView::kGhostColour;
    struct Case {
        int x, y;
        Rgb on, off; // with the switch on and off
    };
    const Case cases[] = {
        {258, 188, ghost, kGround},       {262, 192, ghost, kGround},       {260, 188, ghost, kGround}, // the box
        {259, 189, kGround, kGround},     {261, 191, kGround, kGround},                                 // its inside
        {260, 190, ghost, kGround},                                                                     // the line's start
        {270, 193, ghost, kGround},       {280, 195, ghost, kGround},       {296, 199, ghost, kGround}, // rounded halves up
        {270, 192, kGround, kGround},     {280, 196, kGround, kGround},                                 // beside it
        {300, 200, Rgb{0, 255, 0}, Rgb{0, 255, 0}},                                                     // the marker on top
    };
    for (const bool on : {true, false}) {
        view.m_bShowChanges = on;
        view.Paint(frame);
        for (const Case& c : cases)
            EXPECT_EQ(frame.Pixel(c.x, c.y), on ? c.on : c.off) << c.x << "," << c.y << (on ? " on" : " off");
    }
    view.m_bShowChanges = true;
    view.SetSavedPosition(0, std::nullopt);
    view.Paint(frame);
    EXPECT_EQ(frame.Pixel(280, 195), kGround);
}

TEST_F(MapViewPaint, TerrainIsPlacedAndRepeatsAroundTheCentre)
{
    view.LoadMap(WriteColourMap(dir, "pattern.pcx", 1024, 1024, Pattern));
    // A mission without items is centred on world (0, 0).
    view.SetModel(&model);
    view.Paint(frame);
    EXPECT_TRUE(view.IsCentered());
    EXPECT_EQ(view.CenterX(), 256);
    EXPECT_EQ(view.CenterY(), 256);
    EXPECT_EQ(frame.Pixel(256, 256), Pattern(0, 0));
    EXPECT_EQ(frame.Pixel(0, 0), Pattern(256, 256));
    EXPECT_EQ(frame.Pixel(511, 511), Pattern(255, 255));
    EXPECT_EQ(frame.Pixel(255, 255), Pattern(511, 511));

    // Near the image's edge the opposite edge shows beyond it.
    view.SetCenter(500 * 131072, 20 * 131072); // centre units (756, 236)
    view.Paint(frame);
    for (int wy : {0, 100, 275, 276, 511})
        for (int wx : {0, 11, 12, 13, 300, 511})
            EXPECT_EQ(frame.Pixel(wx, wy), Pattern((756 + wx) % 512, (236 + wy) % 512)) << wx << "," << wy;
    // Negative centres wrap the same way.
    view.SetCenter(-(300 * 131072), 700 * 131072);
    view.Paint(frame);
    const int cx = -300 + 256, cy = 256 - 700;
    auto mod = [](int v) { return ((v % 512) + 512) % 512; };
    for (int wy : {0, 200, 511})
        for (int wx : {0, 43, 44, 511})
            EXPECT_EQ(frame.Pixel(wx, wy), Pattern(mod(cx + wx), mod(cy + wy))) << wx << "," << wy;
}

TEST_F(MapViewPaint, CentresOnTheBoundingBoxAtFirstPaint)
{
    CMissionItem a;
    a.m_nX = 1000000;
    a.m_nY = -3;
    CMissionItem b;
    b.m_nX = -5000001;
    b.m_nY = 40000000;
    CMissionItem c;
    c.m_nX = 7;
    c.m_nY = 9;
    for (auto* it : {&a, &b, &c})
        AddItem(model, *it);
    view.SetModel(&model);
    view.Paint(frame);
    // (1000000 + -5000001) / 2 = -2000000 (toward zero); (-3 + 40000000) / 2 = 19999998.
    EXPECT_EQ(view.CenterX(), MapView::ToPixels(-2000000) + 256);
    EXPECT_EQ(view.CenterY(), 256 - MapView::ToPixels(19999998));

    // Extreme coordinates do not overflow the sum.
    model.Clear();
    CMissionItem lo, hi;
    lo.m_nX = std::numeric_limits<std::int32_t>::max();
    lo.m_nY = std::numeric_limits<std::int32_t>::min();
    hi.m_nX = std::numeric_limits<std::int32_t>::max() - 1;
    hi.m_nY = std::numeric_limits<std::int32_t>::min() + 1;
    AddItem(model, lo);
    AddItem(model, hi);
    view.CenterOnItems();
    // The minimum never drops below its start of 100000000, so the sum exceeds 32 bits.
    const auto mid =
        static_cast<std::int32_t>((std::int64_t{std::numeric_limits<std::int32_t>::max()} + 100000000) / 2);
    EXPECT_EQ(view.CenterX(), MapView::ToPixels(mid) + 256);
}

TEST_F(MapViewPaint, OnlyStrictlyInsideItemsGetMarkersAndLabels)
{
    LoadGround();
    std::vector<std::string> labels;
    frame.SetTextDrawer([&](Canvas&, int x, int y, const std::string& text, Rgb colour) {
        labels.push_back(text + "@" + std::to_string(x) + "," + std::to_string(y));
        EXPECT_EQ(colour, (Rgb{255, 0, 255}));
    });
    AddItem(model, ItemAt(0, 100, 1500, 1));
    AddItem(model, ItemAt(512, 100, 1500, 2));
    AddItem(model, ItemAt(100, 0, 1500, 3));
    AddItem(model, ItemAt(100, 512, 1500, 4));
    AddItem(model, ItemAt(1, 1, 3500, 5)); // partly outside, still drawn
    AddItem(model, ItemAt(511, 511, 1500, -6));
    AddItem(model, ItemAt(200, 200, 5500, 7)); // person, hidden below
    CentreOnOrigin();
    view.m_bShowIds = true;
    view.m_bShowPeople = false;
    view.Paint(frame);
    EXPECT_EQ(labels, (std::vector<std::string>{"5@-4,-6", "-6@506,504"}));
    EXPECT_EQ(frame.Pixel(0, 100), kGround);
    EXPECT_EQ(frame.Pixel(100, 0), kGround);
    EXPECT_EQ(frame.Pixel(0, 0), kWhite); // the building's clipped box runs from -2 to 3
    EXPECT_EQ(frame.Pixel(3, 3), kBlack);
    EXPECT_EQ(frame.Pixel(4, 4), kGround);
    EXPECT_EQ(frame.Pixel(511, 511), (Rgb{0, 255, 0}));
    EXPECT_EQ(frame.Pixel(200, 200), kGround);

    // Filters switch categories independently; two flips restore the picture.
    labels.clear();
    view.m_bShowPeople = true;
    view.m_bShowIds = false;
    Canvas again(512, 512);
    view.Paint(again);
    EXPECT_EQ(again.Pixel(200, 200), (Rgb{255, 0, 0}));
    EXPECT_TRUE(labels.empty());
}

TEST_F(MapViewPaint, LaterMarkerIsDrawnOverEarlierLabel)
{
    LoadGround();
    // The first item's label is a solid block where its text would go.
    frame.SetTextDrawer([](Canvas& c, int x, int y, const std::string& text, Rgb colour) {
        if (text == "1")
            c.FillRect(x, y, x + 12, y + 10, colour);
    });
    AddItem(model, ItemAt(100, 100, 1500, 1)); // label covers 95..106, 93..102
    AddItem(model, ItemAt(102, 98, 5500, 2));  // a person drawn after it
    CentreOnOrigin();
    view.m_bShowIds = true;
    view.Paint(frame);
    EXPECT_EQ(frame.Pixel(102, 98), (Rgb{255, 0, 0}));
    EXPECT_EQ(frame.Pixel(96, 94), (Rgb{255, 0, 255}));
}

TEST(MapViewMouse, ReadoutAndClicksFollowTheInverseTransform)
{
    MapView view;
    // Before any centre was set the view reports world (0, 0) in the middle.
    EXPECT_EQ(view.ReadoutText(256, 256), "x: 0   y: 0");
    view.SetCenter(0, 0);
    EXPECT_EQ(view.ReadoutText(266, 246), "x: 1310720   y: 1310720");
    EXPECT_EQ(view.ReadoutText(257, 256), "x: 131072   y: 0");
    EXPECT_EQ(view.ReadoutText(256, 257), "x: 0   y: -131072");

    view.Click(256, 256);
    EXPECT_EQ(view.CenterX(), 256);
    EXPECT_EQ(view.CenterY(), 256);
    view.Click(300, 200);
    EXPECT_EQ(view.CenterX(), 300);
    EXPECT_EQ(view.CenterY(), 200);
    view.Click(300, 200); // the same window point moves the view again
    EXPECT_EQ(view.CenterX(), 344);
    EXPECT_EQ(view.CenterY(), 144);
    EXPECT_TRUE(view.IsCentered());

    // Far from the origin the products leave the 32-bit range: clamped, never undefined.
    view.SetCenter(std::numeric_limits<std::int32_t>::max(), std::numeric_limits<std::int32_t>::min());
    const WorldPoint p = view.WorldAt(509, 509);
    EXPECT_EQ(p.x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(p.y, std::numeric_limits<std::int32_t>::min());
    for (int i = 0; i < 5; ++i)
        view.Click(509, 509);
    EXPECT_EQ(view.ReadoutText(509, 509), "x: " + std::to_string(std::numeric_limits<std::int32_t>::max()) +
                                              "   y: " + std::to_string(std::numeric_limits<std::int32_t>::min()));
}

TEST_F(MapViewPaint, NewTerrainForgetsAClickedCentre)
{
    LoadGround();
    AddItem(model, ItemAt(300, 300, 1500));
    view.SetModel(&model);
    view.Paint(frame);
    view.Click(10, 10);
    EXPECT_TRUE(view.IsCentered());
    CMissionModel second;
    CMissionItem only;
    only.m_nX = 131072 * 40;
    only.m_nY = -131072 * 8;
    AddItem(second, only);
    LoadGround();
    EXPECT_FALSE(view.IsCentered());
    view.SetModel(&second);
    view.Paint(frame);
    EXPECT_EQ(view.CenterX(), 40 + 256);
    EXPECT_EQ(view.CenterY(), 256 + 8);
}

TEST_F(MapViewPaint, LoadMapDeletesTheFileAndNeverKeepsOldTerrain)
{
    LoadGround();
    EXPECT_FALSE(test::Exists(dir.File("ground.pcx")));
    ASSERT_TRUE(view.Image().has_value());
    EXPECT_EQ(view.Terrain().Pixel(3, 3), kGround);

    // Not a picture: black terrain, file deleted all the same.
    test::WriteBytes(dir.File("junk.pcx"), {1, 2, 3});
    view.LoadMap(dir.File("junk.pcx"));
    EXPECT_FALSE(test::Exists(dir.File("junk.pcx")));
    EXPECT_FALSE(view.Image().has_value());
    EXPECT_EQ(view.Terrain().Pixel(3, 3), kBlack);

    // Smaller than the view: refused, black.
    LoadGround();
    view.LoadMap(WriteColourMap(dir, "small.pcx", 256, 256, Pattern));
    EXPECT_FALSE(view.Image().has_value());
    EXPECT_EQ(view.Terrain().Pixel(100, 100), kBlack);

    // Another size of at least 512 is shrunk from its real size.
    view.LoadMap(WriteColourMap(dir, "wide.pcx", 2048, 1024, Pattern));
    ASSERT_TRUE(view.Image().has_value());
    EXPECT_EQ(view.Image()->width, 512u);
    EXPECT_EQ(view.Image()->height, 512u);
    // Ratios 4 and 2 give a 2 x 2 box at (4x, 2y): source blocks of 2 share a colour.
    EXPECT_EQ(view.Terrain().Pixel(10, 10), Pattern(20, 10));

    // A missing file is black terrain too, without complaint.
    view.LoadMap(dir.File("absent.pcx"));
    EXPECT_EQ(view.Terrain().Pixel(10, 10), kBlack);
}

TEST(MapViewModel, NoModelDrawsNothing)
{
    MapView view;
    Canvas frame(512, 512);
    frame.Fill(Rgb{1, 2, 3});
    view.Paint(frame);
    EXPECT_EQ(frame.Pixel(256, 256), (Rgb{1, 2, 3}));
    EXPECT_FALSE(view.IsCentered());
}
