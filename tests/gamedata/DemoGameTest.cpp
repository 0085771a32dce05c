#include "gamedata/DemoGame.h"
#include "archive/PffArchive.h"
#include "catalogue/ItemDefList.h"
#include "common/File.h"
#include "common/FileError.h"
#include "common/Text.h"
#include "image/Pcx.h"
#include "mission/MissionModel.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

using namespace orvik;
using orvik::gamedata::DemoOptions;
using orvik::gamedata::WriteDemoGame;
using orvik::test::ScratchDir;

namespace {

// The map view's categories: both bounds of each range are excluded.
int CategoryOf(std::int32_t id)
{
    for (int c = 1; c <= 6; ++c)
        if (id > c * 1000 && id < (c + 1) * 1000)
            return c;
    return 0;
}

bool IsCentreName(const std::string& name) { return Contains(FoldLower(name), "center"); }

struct LoadedMission {
    MissionInfo info;
    std::vector<CMissionItem> items;
    bool endMark = false;
    std::vector<std::int32_t> rawWord0; // as stored, before the model drops it
    CMissionModel model;                // only the terrain names are used
    bool terrainFound = false;
};

struct LoadedDemo {
    std::string dir;
    CItemDefList catalogue;
    std::vector<PffEntry> baseEntries;
    std::vector<PffEntry> terrainEntries;
    std::vector<std::unique_ptr<LoadedMission>> missions;
};

std::vector<PffEntry> Entries(const std::string& path)
{
    File file(path, File::Mode::Read);
    CPffArchive archive;
    archive.ReadHeader(file);
    std::vector<PffEntry> out;
    archive.WalkEntries(file, [&](const PffEntry& e) {
        out.push_back(e);
        return true;
    });
    return out;
}

std::vector<std::uint8_t> EntryData(const std::string& path, const std::string& name)
{
    File file(path, File::Mode::Read);
    CPffArchive archive;
    archive.ReadHeader(file);
    const auto entry = archive.FindEntry(file, name);
    if (!entry)
        return {};
    std::vector<std::uint8_t> data(entry->dataSize);
    file.Seek(entry->dataOffset);
    file.ReadExact(data.data(), data.size());
    return data;
}

std::unique_ptr<LoadedDemo> LoadDemo(const std::string& dir)
{
    auto demo = std::make_unique<LoadedDemo>();
    demo->dir = dir;
    EXPECT_TRUE(demo->catalogue.Load(dir + "items.def"));
    const std::string base = dir + "kqbase.pff";
    demo->baseEntries = Entries(base);
    demo->terrainEntries = Entries(dir + "kq.pff");
    CPffArchive archive;
    File file(base, File::Mode::Read);
    archive.WalkMissions(base, [&](const MissionInfo& info) {
        auto mission = std::make_unique<LoadedMission>();
        mission->info = info;
        CMissionModel model;
        mission->endMark = model.ReadItems(file, info.offset);
        for (std::size_t i = 0; i < model.items.size(); ++i) {
            mission->items.push_back(*model.items[i]);
            file.Seek(static_cast<std::int64_t>(info.offset) + 264 + 96 * static_cast<std::int64_t>(i));
            mission->rawWord0.push_back(file.ReadInt32());
        }
        mission->terrainFound = mission->model.ReadTerrainInfo(file, info.offset, base);
        demo->missions.push_back(std::move(mission));
    });
    return demo;
}

std::optional<PackedImage> DecodeEntry(const std::string& archive, const std::string& name)
{
    const auto data = EntryData(archive, name);
    std::uint32_t w = 0, h = 0;
    return DecodePcx(data.data(), data.size(), w, h);
}

// One demo shared by the tests that only read it: writing it is the slow part.
class DemoGame : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_scratch = new ScratchDir;
        DemoOptions options;
        options.seed = 11;
        options.colorMapSize = 256;
        WriteDemoGame(s_scratch->Path() + "game", options);
        s_demo = LoadDemo(s_scratch->Path() + "game/").release();
    }
    static void TearDownTestSuite()
    {
        delete s_demo;
        delete s_scratch;
        s_demo = nullptr;
        s_scratch = nullptr;
    }
    static ScratchDir* s_scratch;
    static LoadedDemo* s_demo;
};
ScratchDir* DemoGame::s_scratch = nullptr;
LoadedDemo* DemoGame::s_demo = nullptr;

} // namespace

TEST(DemoGameOutput, SameSeedSameBytesOtherSeedOtherBytes)
{
    ScratchDir scratch;
    DemoOptions options;
    options.colorMapSize = 128;
    options.seed = 5;
    WriteDemoGame(scratch.Path() + "a", options);
    WriteDemoGame(scratch.Path() + "b/", options);
    options.seed = 6;
    WriteDemoGame(scratch.Path() + "c", options);
    for (const char* name : {"items.def", "kq.pff", "kqbase.pff"}) {
        const auto a = test::ReadBytes(scratch.Path() + "a/" + name);
        EXPECT_FALSE(a.empty()) << name;
        EXPECT_EQ(a, test::ReadBytes(scratch.Path() + "b/" + name)) << name;
        EXPECT_NE(a, test::ReadBytes(scratch.Path() + "c/" + name)) << name;
    }
    // Only the three files, no scratch copies left behind.
    EXPECT_EQ(test::ListFolder(scratch.Path() + "a/"), (std::vector<std::string>{"items.def", "kq.pff", "kqbase.pff"}));
}

TEST(DemoGameOutput, RefusesBadOptionsAndUnusableFoldersWithoutWriting)
{
    ScratchDir scratch;
    DemoOptions options;
    options.colorMapSize = 0;
    EXPECT_THROW(WriteDemoGame(scratch.Path() + "bad", options), UserError);
    EXPECT_FALSE(test::Exists(scratch.Path() + "bad"));

    // A folder path that runs through a plain file cannot be made.
    test::WriteBytes(scratch.Path() + "plain", {1, 2, 3});
    options.colorMapSize = 64;
    EXPECT_THROW(WriteDemoGame(scratch.Path() + "plain/game", options), FileError);
    EXPECT_EQ(test::ListFolder(scratch.Path()), std::vector<std::string>{"plain"});
}

TEST_F(DemoGame, CatalogueHasEveryCategoryAndOneCentreMarker)
{
    const CItemDefList& catalogue = s_demo->catalogue;
    EXPECT_GE(catalogue.Size(), 40u);
    EXPECT_LE(catalogue.Size(), 80u);
    std::set<int> categories;
    std::set<std::string> names;
    std::set<std::int32_t> ids;
    int centres = 0, withSpaces = 0;
    for (std::size_t i = 0; i < catalogue.Size(); ++i) {
        const CItemDef& def = catalogue.At(i);
        EXPECT_NE(CategoryOf(def.m_nId), 0) << def.m_strName << " " << def.m_nId;
        categories.insert(CategoryOf(def.m_nId));
        names.insert(def.m_strName);
        ids.insert(def.m_nId);
        withSpaces += def.m_strName.find(' ') != std::string::npos;
        if (IsCentreName(def.m_strName)) {
            ++centres;
            EXPECT_EQ(CategoryOf(def.m_nId), 6) << "the centre is a marker";
        }
    }
    EXPECT_EQ(categories.size(), 6u);
    EXPECT_EQ(centres, 1);
    EXPECT_GE(withSpaces, 3);
    // Unique names and ids: every name leads back to its own id, so a save without edits is exact.
    EXPECT_EQ(names.size(), catalogue.Size());
    EXPECT_EQ(ids.size(), catalogue.Size());
}

TEST_F(DemoGame, ArchivesHoldTheMissionsAndOtherEntries)
{
    const auto& missions = s_demo->missions;
    ASSERT_GE(missions.size(), 6u);
    ASSERT_LE(missions.size(), 10u);
    EXPECT_GT(s_demo->baseEntries.size(), missions.size()) << "files besides the missions";

    int capitals = 0;
    for (const auto& e : s_demo->baseEntries)
        capitals += Contains(e.name, ".BMS") &&
                    std::none_of(e.name.begin(), e.name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    EXPECT_GE(capitals, 1);

    int fullTitles = 0;
    for (const auto& m : missions) {
        EXPECT_LE(m->info.title.size(), 40u);
        EXPECT_FALSE(m->info.title.empty());
        fullTitles += m->info.title.size() == 40;
        EXPECT_TRUE(m->endMark) << m->info.name;
    }
    EXPECT_EQ(fullTitles, 1);

    // Three or four terrains, each with a description that names its three maps.
    std::set<std::string> descriptions, colourMaps;
    for (const auto& e : s_demo->terrainEntries)
        if (FoldLower(e.name).ends_with(".ter"))
            descriptions.insert(FoldLower(e.name));
    EXPECT_GE(descriptions.size(), 3u);
    EXPECT_LE(descriptions.size(), 4u);
    for (const auto& m : missions) {
        EXPECT_TRUE(m->terrainFound) << m->info.name << " -> " << m->model.terrain.terrainFile;
        EXPECT_TRUE(descriptions.count(m->model.terrain.terrainFile));
        EXPECT_TRUE(m->model.terrain.colorMapFile.ends_with("_c.pcx")) << m->model.terrain.colorMapFile;
        EXPECT_TRUE(m->model.terrain.elevMapFile.ends_with("_e.pcx")) << m->model.terrain.elevMapFile;
        EXPECT_TRUE(m->model.terrain.detailMapFile.ends_with("_d.pcx")) << m->model.terrain.detailMapFile;
        colourMaps.insert(m->model.terrain.colorMapFile);
    }
    EXPECT_EQ(colourMaps.size(), descriptions.size()) << "every terrain is used by some mission";
}

TEST_F(DemoGame, MissionItemsAreNumberedPlacedAndNamed)
{
    std::vector<std::size_t> counts;
    for (const auto& m : s_demo->missions) {
        counts.push_back(m->items.size());
        for (std::size_t i = 0; i < m->items.size(); ++i) {
            const CMissionItem& item = m->items[i];
            EXPECT_EQ(item.m_nNumber, static_cast<std::int32_t>(i + 1));
            EXPECT_FALSE(s_demo->catalogue.GetNameById(item.m_nId).empty()) << item.m_nId;
            EXPECT_GE(item.m_nX, 0);
            EXPECT_LT(item.m_nX, 67108864);
            EXPECT_LE(item.m_nY, 0);
            EXPECT_GT(item.m_nY, -67108864);
            EXPECT_NE(m->rawWord0[i], 0);
        }
    }
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts.front(), 0u);
    EXPECT_EQ(counts.back(), 2000u);
    EXPECT_LT(counts[counts.size() - 2], 2000u);
    EXPECT_GT(counts[1], 0u);
}

TEST_F(DemoGame, MissionsCoverCategoriesCentresAndFlags)
{
    std::set<int> categories;
    int oneCentre = 0, twoCentres = 0, noCentreWithItems = 0, mpOnly = 0, otherBits = 0;
    std::set<std::int32_t> word2, angles;
    for (const auto& m : s_demo->missions) {
        int centres = 0;
        std::set<int> own;
        for (const auto& item : m->items) {
            own.insert(CategoryOf(item.m_nId));
            centres += IsCentreName(s_demo->catalogue.GetNameById(item.m_nId));
            mpOnly += item.IsMpOnly();
            otherBits += (item.m_nFlags & ~CMissionItem::kMpOnlyFlag) != 0;
            word2.insert(item.m_nWord2);
            angles.insert(item.m_nAngle);
            EXPECT_GE(item.m_nAngle, 0);
            EXPECT_LT(item.m_nAngle, 360);
        }
        categories.insert(own.begin(), own.end());
        if (m->items.size() >= 100) {
            EXPECT_EQ(own.size(), 6u) << m->info.name;
        }
        oneCentre += centres == 1;
        twoCentres += centres == 2;
        noCentreWithItems += centres == 0 && !m->items.empty();
        EXPECT_LE(centres, 2);
    }
    EXPECT_EQ(categories, (std::set<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_GE(oneCentre, 4);
    EXPECT_EQ(twoCentres, 1);
    EXPECT_GE(noCentreWithItems, 1);
    EXPECT_GT(mpOnly, 10);
    EXPECT_GT(otherBits, 10);
    EXPECT_GT(word2.size(), 5u);
    EXPECT_GT(angles.size(), 100u);
}

// The items gather in places: most stand close to other items, not spread evenly over the map.
TEST_F(DemoGame, ItemsAreClustered)
{
    const LoadedMission* largest = nullptr;
    for (const auto& m : s_demo->missions)
        if (!largest || m->items.size() > largest->items.size())
            largest = m.get();
    ASSERT_NE(largest, nullptr);
    std::map<std::pair<int, int>, int> cells; // 16 x 16 map-pixel squares
    for (const auto& item : largest->items)
        ++cells[{item.m_nX / (131072 * 16), -item.m_nY / (131072 * 16)}];
    int inBusyCells = 0;
    for (const auto& [cell, n] : cells)
        if (n >= 20)
            inBusyCells += n;
    EXPECT_GT(inBusyCells, static_cast<int>(largest->items.size()) / 2);
}

TEST_F(DemoGame, TerrainMapsDecodeAndLookLikeTerrain)
{
    const std::string kq = s_demo->dir + "kq.pff";
    std::set<std::string> seen;
    for (const auto& m : s_demo->missions) {
        if (!seen.insert(m->model.terrain.colorMapFile).second)
            continue;
        const auto colour = DecodeEntry(kq, m->model.terrain.colorMapFile);
        ASSERT_TRUE(colour) << m->model.terrain.colorMapFile;
        EXPECT_EQ(colour->width, 256u);
        EXPECT_EQ(colour->height, 256u);
        // Many colours, yet neighbouring pixels mostly alike: landscape, not noise or a flat fill.
        std::set<std::uint32_t> colours;
        long long step = 0;
        const auto& p = colour->pixels;
        for (std::size_t i = 0; i + 3 < p.size(); i += 3) {
            colours.insert(p[i] << 16 | p[i + 1] << 8 | p[i + 2]);
            if ((i / 3) % 256 != 255)
                for (int c = 0; c < 3; ++c)
                    step += std::abs(p[i + c] - p[i + 3 + c]);
        }
        EXPECT_GT(colours.size(), 60u);
        EXPECT_LT(step / static_cast<long long>(256 * 255 * 3), 24);

        const auto elev = DecodeEntry(kq, m->model.terrain.elevMapFile);
        ASSERT_TRUE(elev) << m->model.terrain.elevMapFile;
        EXPECT_GT(elev->width, 0u);
        for (std::size_t i = 0; i < elev->pixels.size(); i += 3)
            ASSERT_TRUE(elev->pixels[i] == elev->pixels[i + 1] && elev->pixels[i] == elev->pixels[i + 2]) << "grey";
        const auto detail = DecodeEntry(kq, m->model.terrain.detailMapFile);
        ASSERT_TRUE(detail) << m->model.terrain.detailMapFile;
        EXPECT_GT(detail->width, 0u);
    }
}

TEST(DemoGameOutput, FullSizeColourMaps)
{
    ScratchDir scratch;
    WriteDemoGame(scratch.Path(), {});
    int maps = 0;
    for (const auto& e : Entries(scratch.Path() + "kq.pff")) {
        if (!FoldLower(e.name).ends_with("_c.pcx"))
            continue;
        const auto image = DecodeEntry(scratch.Path() + "kq.pff", e.name);
        ASSERT_TRUE(image) << e.name;
        EXPECT_EQ(image->width, 1024u);
        EXPECT_EQ(image->height, 1024u);
        ++maps;
    }
    EXPECT_GE(maps, 3);
}
