// Terrain descriptions, the terrain lookup in kq.pff and the mission load that feeds the map.
#include "common/FileError.h"
#include "mission/MissionModel.h"
#include "mission/MissionTestData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace orvik {
namespace {

using gamedata::MissionSpec;
using gamedata::PffFile;
using test::Bytes;
using test::MakeItem;

TEST(ParseTerrainDescription, TakesTheThreeNamesAsTheGameWritesThem)
{
    struct Case {
        const char* what;
        const char* text;
        const char* color;
        const char* elev;
        const char* detail;
    };
    const Case cases[] = {
        {"any order, other lines between", "name hills\ndetail_map d1\n\nsky blue\nelev_map e1\ncolor_map c1\n",
         "c1.pcx", "e1.pcx", "d1.pcx"},
        {"blanks and tabs around the value", "color_map    c2   \nelev_map\t\te2\t\ndetail_map \t d2 \n", "c2.pcx",
         "e2.pcx", "d2.pcx"},
        {"capitals fold", "COLOR_MAP Hills_Col\nElev_Map HILLS_E\nDETAIL_map Dd\n", "hills_col.pcx", "hills_e.pcx",
         "dd.pcx"},
        {"CR LF line ends, no LF at the end", "color_map c\r\nelev_map e\r\ndetail_map d", "c.pcx", "e.pcx", "d.pcx"},
        {"missing key stays empty", "color_map c\nelev_map e\n", "c.pcx", "e.pcx", ""},
        {"repeated key before all were seen overwrites", "color_map a\nelev_map e\ncolor_map b\ndetail_map d\n",
         "b.pcx", "e.pcx", "d.pcx"},
        {"reading stops once all three were seen", "color_map a\nelev_map e\ndetail_map d\ncolor_map z\n", "a.pcx",
         "e.pcx", "d.pcx"},
        // The key is found anywhere in the line, but the value is the line less the key's length.
        {"key inside another word", "mycolor_map foo\nelev_map e\ndetail_map d\n", "ap foo.pcx", "e.pcx", "d.pcx"},
        {"first key in test order decides", "elev_map color_map x\n", "color_map x.pcx", "", ""},
        {"key alone on its line", "detail_map\ncolor_map\n", ".pcx", "", ".pcx"},
        {"empty text", "", "", "", ""},
    };
    for (const auto& c : cases) {
        const TerrainNames names = ParseTerrainDescription(c.text);
        EXPECT_EQ(names.colorMapFile, c.color) << c.what;
        EXPECT_EQ(names.elevMapFile, c.elev) << c.what;
        EXPECT_EQ(names.detailMapFile, c.detail) << c.what;
    }
}

// Records the colour map it is handed, as the real view would decode it, then deletes the file.
class RecordingView : public TerrainView {
public:
    void LoadMap(std::string path) override
    {
        paths.push_back(path);
        existed.push_back(test::Exists(path));
        contents.push_back(test::ReadBytes(path));
        std::remove(path.c_str());
    }

    std::vector<std::string> paths;
    std::vector<bool> existed;
    std::vector<std::vector<std::uint8_t>> contents;
};

class TerrainLoadTest : public ::testing::Test {
protected:
    void WriteGame(const std::vector<MissionSpec>& missions, const std::vector<PffFile>& terrain, std::uint32_t gap = 5)
    {
        std::vector<PffFile> files;
        for (std::size_t i = 0; i < missions.size(); ++i)
            files.push_back({"Mis" + std::to_string(i) + ".bms", gamedata::BuildMission(missions[i])});
        gamedata::PffLayout baseLayout;
        baseLayout.seed = 21;
        gamedata::WritePff(basePath, files, baseLayout, &missionEntries);
        gamedata::PffLayout kqLayout;
        kqLayout.seed = 22;
        kqLayout.gapBetween = gap;
        gamedata::WritePff(game.File("kq.pff"), terrain, kqLayout);
    }

    static MissionSpec Mission(const std::string& terrainName, std::vector<CMissionItem> items = {})
    {
        MissionSpec plan;
        plan.title = "A mission";
        plan.terrainName = terrainName;
        plan.items = std::move(items);
        return plan;
    }

    std::uint32_t Offset(std::size_t mission) const { return missionEntries.at(mission).dataOffset; }

    test::ScratchDir game;
    std::string basePath = game.File("kqbase.pff");
    std::vector<gamedata::PffWrittenEntry> missionEntries;
    const std::vector<std::uint8_t> colorMap = Bytes("PCX colour map of the hills \x01\x02\x03");
};

TEST_F(TerrainLoadTest, FindsTheDescriptionWhateverTheLetterCase)
{
    WriteGame({Mission("Hills.TER"), Mission("ABCDEFGHIJKLMNOP")},
              {{"junk.ter", Bytes("color_map wrong\nelev_map wrong\ndetail_map wrong\n")},
               {"HILLS.ter", Bytes("Color_Map Hills_C\nelev_map hills_e\ndetail_map hills_d\n")},
               {"abcdefghijklmnop", Bytes("color_map long_c\nelev_map long_e\ndetail_map long_d\n")}});
    CMissionModel model;
    File base(basePath, File::Mode::Read);

    EXPECT_TRUE(model.ReadTerrainInfo(base, Offset(0), basePath));
    EXPECT_EQ(model.terrain.terrainFile, "hills.ter");
    EXPECT_EQ(model.terrain.colorMapFile, "hills_c.pcx");
    EXPECT_EQ(model.terrain.elevMapFile, "hills_e.pcx");
    EXPECT_EQ(model.terrain.detailMapFile, "hills_d.pcx");

    // A name that fills all 16 bytes of its field is taken whole.
    EXPECT_TRUE(model.ReadTerrainInfo(base, Offset(1), basePath));
    EXPECT_EQ(model.terrain.terrainFile, "abcdefghijklmnop");
    EXPECT_EQ(model.terrain.colorMapFile, "long_c.pcx");
}

TEST_F(TerrainLoadTest, DescriptionIsReadOnlyWithinItsEntry)
{
    // The next entry's data follows at once and would complete the keys if read on.
    WriteGame({Mission("cut.ter")},
              {{"cut.ter", Bytes("color_map a\nelev_m")}, {"next", Bytes("ap e\ndetail_map d\n")}}, 0);
    CMissionModel model;
    File base(basePath, File::Mode::Read);
    EXPECT_TRUE(model.ReadTerrainInfo(base, Offset(0), basePath));
    EXPECT_EQ(model.terrain.colorMapFile, "a.pcx");
    EXPECT_EQ(model.terrain.elevMapFile, "");
    EXPECT_EQ(model.terrain.detailMapFile, "");
}

TEST_F(TerrainLoadTest, MissingDescriptionClearsTheEarlierMissionsNames)
{
    WriteGame({Mission("hills.ter"), Mission("gone.ter")},
              {{"hills.ter", Bytes("color_map c\nelev_map e\ndetail_map d\n")}});
    CMissionModel model;
    File base(basePath, File::Mode::Read);
    ASSERT_TRUE(model.ReadTerrainInfo(base, Offset(0), basePath));
    ASSERT_EQ(model.terrain.colorMapFile, "c.pcx");

    EXPECT_FALSE(model.ReadTerrainInfo(base, Offset(1), basePath));
    EXPECT_EQ(model.terrain.terrainFile, "gone.ter");
    EXPECT_EQ(model.terrain.colorMapFile, "");
    EXPECT_EQ(model.terrain.elevMapFile, "");
    EXPECT_EQ(model.terrain.detailMapFile, "");
}

TEST_F(TerrainLoadTest, LoadShowsTheColourMapWithoutWritingIntoTheGameDirectory)
{
    const std::vector<CMissionItem> items = {MakeItem(3, 1), MakeItem(4, 2, 16)};
    WriteGame({Mission("hills.ter", items)},
              {{"hills.ter", Bytes("color_map Hills_C\nelev_map e\ndetail_map d\n")}, {"hills_c.pcx", colorMap}});
    // A colour map the user unpacked for editing and a scratch file left by an earlier run.
    test::WriteBytes(game.File("hills_c.pcx"), Bytes("the user's own edits"));
    test::WriteBytes(game.File("temp.pcx"), Bytes("stale"));
    const auto before = test::ListFolder(game.Path());

    CMissionModel model;
    RecordingView view;
    File base(basePath, File::Mode::Read);
    const LoadReport report = model.Load(base, Offset(0), basePath, view);

    ASSERT_EQ(view.paths.size(), 1u);
    EXPECT_TRUE(view.existed[0]);
    EXPECT_EQ(view.contents[0], colorMap);
    const std::filesystem::path scratch = std::filesystem::path(view.paths[0]).parent_path();
    EXPECT_NE(std::filesystem::path(game.Path()).lexically_normal(), (scratch / "").lexically_normal());
    EXPECT_FALSE(test::Exists(scratch.string())) << "the scratch folder outlives the load";

    EXPECT_EQ(test::ListFolder(game.Path()), before);
    EXPECT_EQ(test::ReadText(game.File("hills_c.pcx")), "the user's own edits");
    EXPECT_EQ(test::ReadText(game.File("temp.pcx")), "stale");

    EXPECT_EQ(model.items.size(), 2u);
    EXPECT_EQ(model.terrain.colorMapFile, "hills_c.pcx");
    EXPECT_FALSE(report.itemsDamaged);
    EXPECT_FALSE(report.terrainMissing);
    EXPECT_FALSE(report.colorMapMissing);
    EXPECT_EQ(LoadReportMessage(report, "mis0.bms"), "");
}

TEST_F(TerrainLoadTest, LoadWithoutTerrainStillResetsTheMapAndSaysWhy)
{
    WriteGame({Mission("hills.ter"), Mission("gone.ter"), Mission("bare.ter")},
              {{"hills.ter", Bytes("color_map c\nelev_map e\ndetail_map d\n")},
               {"c.pcx", colorMap},
               {"bare.ter", Bytes("color_map nomap\nelev_map e\ndetail_map d\n")}});
    CMissionModel model;
    RecordingView view;
    File base(basePath, File::Mode::Read);
    model.Load(base, Offset(0), basePath, view);

    // The terrain description is not in kq.pff: the map is still told, with no file, so the
    // previous mission's terrain goes.
    LoadReport report = model.Load(base, Offset(1), basePath, view);
    ASSERT_EQ(view.paths.size(), 2u);
    EXPECT_FALSE(view.existed[1]);
    EXPECT_TRUE(report.terrainMissing);
    EXPECT_EQ(model.terrain.colorMapFile, "");
    std::string message = LoadReportMessage(report, "mis1.bms");
    EXPECT_NE(message.find("\"gone.ter\""), std::string::npos) << message;
    EXPECT_NE(message.find("kq.pff"), std::string::npos) << message;

    // The description names a colour map that kq.pff lacks.
    report = model.Load(base, Offset(2), basePath, view);
    ASSERT_EQ(view.paths.size(), 3u);
    EXPECT_FALSE(view.existed[2]);
    EXPECT_FALSE(report.terrainMissing);
    EXPECT_TRUE(report.colorMapMissing);
    message = LoadReportMessage(report, "mis2.bms");
    EXPECT_NE(message.find("nomap.pcx"), std::string::npos) << message;
}

TEST_F(TerrainLoadTest, DamagedItemListIsReportedWithWhatWasKept)
{
    MissionSpec damaged = Mission("hills.ter", {MakeItem(1, 1), MakeItem(2, 2)});
    damaged.endMark = false;
    // The mission is the last thing in the file, so its records run to the end.
    std::vector<PffFile> files = {{"Mis0.bms", gamedata::BuildMission(damaged)}};
    gamedata::PffLayout layout;
    layout.tableFirst = true;
    gamedata::WritePff(basePath, files, layout, &missionEntries);
    gamedata::WritePff(game.File("kq.pff"),
                       {{"hills.ter", Bytes("color_map c\nelev_map e\ndetail_map d\n")}, {"c.pcx", colorMap}});

    CMissionModel model;
    RecordingView view;
    File base(basePath, File::Mode::Read);
    const LoadReport report = model.Load(base, Offset(0), basePath, view);
    EXPECT_TRUE(report.itemsDamaged);
    EXPECT_EQ(model.items.size(), 2u);
    EXPECT_EQ(view.paths.size(), 1u);
    const std::string message = LoadReportMessage(report, "mis0.bms");
    EXPECT_NE(message.find("mis0.bms"), std::string::npos) << message;
    EXPECT_NE(message.find(" 2 "), std::string::npos) << message;
}

TEST_F(TerrainLoadTest, MissingTerrainArchiveFailsAfterTheItemsWereRead)
{
    WriteGame({Mission("hills.ter", {MakeItem(1, 1)})}, {});
    std::remove(game.File("kq.pff").c_str());
    CMissionModel model;
    RecordingView view;
    File base(basePath, File::Mode::Read);
    try {
        model.Load(base, Offset(0), basePath, view);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
    }
    EXPECT_EQ(model.items.size(), 1u);
    EXPECT_TRUE(view.paths.empty());
}

TEST(LoadReportMessage, ARefusedColourMapNamesItsReason)
{
    struct Case {
        PcxError reason;
        MapSize size;
        std::string expected;
    };
    const Case cases[] = {
        {PcxError::TooLarge,
         {9450, 9451},
         "The colour map \"c.pcx\" is 9450 x 9451 pixels, too large to show (decoding it would take more than "
         "256 MiB); the map shows no terrain."},
        {PcxError::Truncated,
         {1024, 1024},
         "The colour map \"c.pcx\" could not be shown: it is truncated (the file ends before its last scan line); "
         "the map shows no terrain."},
        {PcxError::NotPcx,
         {},
         "The colour map \"c.pcx\" could not be shown: it is not a PCX image; the map shows no terrain."},
        {PcxError::LineTooShort,
         {1024, 1024},
         "The colour map \"c.pcx\" could not be shown: its bytes per line are too few for its width; the map shows "
         "no terrain."},
    };
    for (const Case& c : cases) {
        LoadReport report;
        report.terrainFile = "t.ter";
        report.colorMapFile = "c.pcx";
        report.colorMapRefused = MapRefusal{c.reason, c.size};
        EXPECT_EQ(LoadReportMessage(report, "m.bms"), c.expected);
        // A map that was not there at all is said so, whatever the view made of the missing file.
        report.colorMapMissing = true;
        EXPECT_EQ(LoadReportMessage(report, "m.bms"),
                  "The colour map \"c.pcx\" was not found in kq.pff; the map shows no terrain.");
    }
}

} // namespace
} // namespace orvik
