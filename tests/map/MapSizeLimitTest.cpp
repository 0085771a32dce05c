// Colour maps that would need more than 256 MiB to decode: refused with their size in the load
// report, black terrain, never the previous map.
#include "gamedata/MissionWriter.h"
#include "gamedata/PcxWriter.h"
#include "gamedata/PffWriter.h"
#include "map/MapView.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

using namespace orvik;

namespace {

// Only the header of an 8-bit map of the given size: enough to decide on its memory.
std::vector<std::uint8_t> MapHeader(std::uint16_t width, std::uint16_t height)
{
    gamedata::PcxRawSpec plan;
    plan.xmax = static_cast<std::uint16_t>(width - 1);
    plan.ymax = static_cast<std::uint16_t>(height - 1);
    plan.bytesPerLine = static_cast<std::uint16_t>(width + (width & 1));
    return gamedata::EncodePcxRaw(plan);
}

// A 1024 x 1024 map of one colour.
std::vector<std::uint8_t> GroundMap()
{
    PackedImage image{1024, 1024, std::vector<std::uint8_t>(1024 * 1024 * 3, 90)};
    return gamedata::EncodePcx24(image);
}

TEST(MapSizeLimit, LoadReportsTheSizeOfAMapTooLargeToDecode)
{
    struct Case {
        std::uint16_t width, height;
        bool oversized;
    };
    // 256 MiB less the shrunk 512 x 512 copy, less the decoder's line buffers, lies between
    // 9440 x 9440 and 9450 x 9450 (three bytes a pixel).
    const Case cases[] = {
        {1024, 1024, false}, {9440, 9440, false}, {9450, 9450, true},   {9472, 9472, true},
        {32000, 2800, true}, {2800, 32000, true}, {32766, 32766, true}, {30000, 2970, false},
    };
    for (const auto& c : cases) {
        const std::string size = std::to_string(c.width) + " x " + std::to_string(c.height);
        SCOPED_TRACE(size);
        test::ScratchDir game;
        gamedata::MissionSpec plan;
        plan.title = "Big";
        plan.terrainName = "big.ter";
        std::vector<gamedata::PffWrittenEntry> written;
        gamedata::WritePff(game.File("kqbase.pff"), {{"big.bms", gamedata::BuildMission(plan)}}, {}, &written);
        const std::string description = "color_map big_c\nelev_map big_e\ndetail_map big_d\n";
        gamedata::WritePff(game.File("kq.pff"),
                           {{"big.ter", std::vector<std::uint8_t>(description.begin(), description.end())},
                            {"big_c.pcx", MapHeader(c.width, c.height)}});
        MapView view;
        // A map shown before must not survive the refusal.
        const std::string ground = game.File("ground.pcx");
        test::WriteBytes(ground, GroundMap());
        view.LoadMap(ground);
        ASSERT_TRUE(view.Image().has_value());

        CMissionModel model;
        File base(game.File("kqbase.pff"), File::Mode::Read);
        const LoadReport report = model.Load(base, written[0].dataOffset, game.File("kqbase.pff"), view);
        EXPECT_FALSE(view.Image().has_value()); // header only: never decoded either way
        EXPECT_EQ(view.Terrain().Pixel(100, 100), (Rgb{0, 0, 0}));
        EXPECT_FALSE(report.colorMapMissing);
        const std::string message = LoadReportMessage(report, "big.bms");
        ASSERT_TRUE(report.colorMapRefused.has_value());
        ASSERT_TRUE(view.RefusedMap().has_value());
        if (c.oversized) {
            EXPECT_EQ(report.colorMapRefused->reason, PcxError::TooLarge);
            EXPECT_EQ(report.colorMapRefused->size.width, c.width);
            EXPECT_EQ(report.colorMapRefused->size.height, c.height);
            EXPECT_EQ(message, "The colour map \"big_c.pcx\" is " + size +
                                   " pixels, too large to show (decoding it would take more than 256 MiB); the map "
                                   "shows no terrain.");
        } else {
            // Small enough to decode, but only a header: refused for that, not for its size.
            EXPECT_EQ(report.colorMapRefused->reason, PcxError::Truncated);
            EXPECT_EQ(message, "The colour map \"big_c.pcx\" could not be shown: it is truncated (the file ends "
                               "before its last scan line); the map shows no terrain.");
        }
        // The next map that decodes clears the refusal.
        test::WriteBytes(ground, GroundMap());
        view.LoadMap(ground);
        EXPECT_TRUE(view.Image().has_value());
        EXPECT_FALSE(view.RefusedMap().has_value());
    }
}

} // namespace
