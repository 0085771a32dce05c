#include "archive/PffArchive.h"
#include "archive/SortedList.h"
#include "common/FileError.h"
#include "common/Text.h"
#include "gamedata/MissionWriter.h"
#include "support/TestSupport.h"

#include "ArchiveTestData.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace orvik {
namespace {

using gamedata::PffFile;
using gamedata::PffWrittenEntry;

std::vector<std::uint8_t> Mission(const std::string& title, std::uint32_t seed)
{
    gamedata::MissionSpec plan;
    plan.title = title;
    plan.terrainName = "hills.ter";
    plan.seed = seed;
    return gamedata::BuildMission(plan);
}

std::vector<std::pair<std::string, std::uint32_t>> Lines(const SortedStringList& list)
{
    std::vector<std::pair<std::string, std::uint32_t>> out;
    for (std::size_t i = 0; i < list.Size(); ++i)
        out.emplace_back(list.Text(i), list.ItemData(i));
    return out;
}

TEST(SortedList, FoldedUnsignedOrderWithEqualTextsAfter)
{
    SortedStringList list;
    EXPECT_EQ(list.AddSorted("b"), 0);
    EXPECT_EQ(list.AddSorted("a"), 0);
    EXPECT_EQ(list.AddSorted("B"), 2);      // equal to "b" when folded: goes after it
    EXPECT_EQ(list.AddSorted("_"), 0);      // 0x5F sorts before the lower-case letters
    EXPECT_EQ(list.AddSorted("Zed"), 4);    // folded to "zed"
    EXPECT_EQ(list.AddSorted("\xC4ra"), 5); // folded to 0xE4: above every ASCII letter
    EXPECT_EQ(list.AddSorted(""), 0);
    EXPECT_EQ(list.AddSorted("ab"), 3);
    EXPECT_EQ(list.Texts(), (std::vector<std::string>{"", "_", "a", "ab", "b", "B", "Zed", "\xC4ra"}));
}

TEST(SortedList, InsertionMatchesAStableSortOfTheArrivals)
{
    std::mt19937 rng(11);
    const std::string letters = "aAbB_.\xC4\xE4 ";
    std::vector<std::string> arrivals;
    SortedStringList list;
    for (int i = 0; i < 400; ++i) {
        std::string text;
        for (std::size_t n = rng() % 4; n > 0; --n)
            text += letters[rng() % letters.size()];
        arrivals.push_back(text);
        const int at = list.AddSorted(text);
        list.SetItemData(at, static_cast<std::uint32_t>(i));
    }
    std::vector<std::size_t> order(arrivals.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return CompareFolded(arrivals[a], arrivals[b]) < 0; });
    ASSERT_EQ(list.Size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(list.ItemData(i), order[i]);
        EXPECT_EQ(list.Text(i), arrivals[order[i]]);
    }
}

class MissionListTest : public ::testing::Test {
protected:
    std::string Archive(const std::vector<PffFile>& files, gamedata::PffLayout layout = {})
    {
        const std::string path = m_dir.File("kqbase.pff");
        gamedata::WritePff(path, files, layout, &m_written);
        return path;
    }
    std::uint32_t Offset(std::size_t entry) const { return m_written[entry].dataOffset; }

    test::ScratchDir m_dir;
    std::vector<PffWrittenEntry> m_written;
};

TEST_F(MissionListTest, LinesSortedWithTheirOwnOffsets)
{
    const std::string title40 = "A title that fills all forty bytes: 40!!";
    ASSERT_EQ(title40.size(), 40u);
    const std::string path = Archive(
        {
            {"terrain.pcx", test::Pattern(64, 1)},
            {"ZULU.BMS", Mission("Last one", 2)},
            {"alpha.bms", Mission("First \xC4rger", 3)},
            {"MISSION.BMS.BAK", Mission("Backup", 4)},
            {"notes.txt", test::Pattern(9, 5)},
            {"long.bms", Mission(title40, 6)},
            {"untitled.bms", Mission("", 7)},
            {"M.Bms", Mission("same", 8)},
            {"m.bms", Mission("same", 9)},
        },
        gamedata::PffLayout{31, true, 6});
    SortedStringList list;
    CPffArchive reader;
    reader.ListMissions(list, path);
    const std::vector<std::pair<std::string, std::uint32_t>> expected = {
        {"alpha.bms (First \xC4rger)", Offset(2)},
        {"long.bms (" + title40 + ")", Offset(5)},
        {"m.bms (same)", Offset(7)},
        {"m.bms (same)", Offset(8)},
        {"mission.bms.bak (Backup)", Offset(3)},
        {"untitled.bms ()", Offset(6)},
        {"zulu.bms (Last one)", Offset(1)},
    };
    EXPECT_EQ(Lines(list), expected);
}

TEST_F(MissionListTest, WalkMissionsInTableOrder)
{
    const std::string path = Archive({{"B.BMS", Mission("Bee", 1)}, {"x.pcx", {}}, {"a.bms", Mission("Ay", 2)}},
                                     gamedata::PffLayout{4, false, 1});
    std::vector<MissionInfo> seen;
    CPffArchive reader;
    reader.WalkMissions(path, [&](const MissionInfo& m) { seen.push_back(m); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].name, "b.bms");
    EXPECT_EQ(seen[0].title, "Bee");
    EXPECT_EQ(seen[0].offset, Offset(0));
    EXPECT_EQ(seen[0].size, m_written[0].dataSize);
    EXPECT_EQ(seen[1].Text(), "a.bms (Ay)");
    EXPECT_EQ(seen[1].offset, Offset(2));
}

TEST_F(MissionListTest, TablesLargerThanOneReadBlock)
{
    // More entries than the reader takes from the table at once, with title reads in between.
    const std::size_t count = 40000;
    std::vector<PffFile> files;
    for (std::size_t i = 0; i < count; ++i) {
        char name[17];
        std::snprintf(name, sizeof name, "m%05zu.%s", i, i % 3 == 0 ? "pcx" : "bms");
        const std::string title = "t" + std::to_string(i);
        std::vector<std::uint8_t> data = {0, 0, 0, 0};
        data.insert(data.end(), title.begin(), title.end());
        files.push_back({name, data});
    }
    const std::string path = Archive(files, gamedata::PffLayout{8, false, 0});
    SortedStringList list;
    CPffArchive().ListMissions(list, path);
    std::size_t line = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i % 3 == 0)
            continue;
        ASSERT_LT(line, list.Size());
        EXPECT_EQ(list.Text(line), files[i].name + " (t" + std::to_string(i) + ")");
        EXPECT_EQ(list.ItemData(line), Offset(i));
        ++line;
    }
    EXPECT_EQ(line, list.Size());
}

TEST_F(MissionListTest, TitleStaysInsideItsOwnEntry)
{
    // Mission data too short for the title field: the next entry's bytes are not part of the title.
    const std::vector<std::uint8_t> tiny = {1, 2, 3, 4, 'S', 'h', 'o'};
    const std::vector<std::uint8_t> next(64, 'X');
    const std::string path = Archive({{"tiny.bms", tiny}, {"head.bms", {9, 9, 9}}, {"junk.dat", next}});
    SortedStringList list;
    CPffArchive().ListMissions(list, path);
    EXPECT_EQ(list.Texts(), (std::vector<std::string>{"head.bms ()", "tiny.bms (Sho)"}));
}

TEST_F(MissionListTest, ErrorsKeepTheLinesAlreadyAdded)
{
    auto bytes = gamedata::BuildPff(
        {{"one.bms", Mission("One", 1)}, {"two.bms", Mission("Two", 2)}, {"three.bms", Mission("Three", 3)}});
    // The second mission's data runs past the end of the file.
    test::Patch32(bytes, test::EntryField(bytes, 1, 8), 0x10000000);
    const std::string path = m_dir.File("damaged.pff");
    test::WriteBytes(path, bytes);
    SortedStringList list;
    CPffArchive reader;
    try {
        reader.ListMissions(list, path);
        ADD_FAILURE() << "no file error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::EndOfFile);
    }
    EXPECT_EQ(list.Texts(), (std::vector<std::string>{"one.bms (One)"}));
}

TEST_F(MissionListTest, MissingArchiveOrNoMissions)
{
    SortedStringList list;
    CPffArchive reader;
    for (const std::string& path : {m_dir.File("absent.pff"), std::string()}) {
        try {
            reader.ListMissions(list, path);
            ADD_FAILURE() << "no file error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Message(), (path.empty() ? "an unnamed file" : path) + " was not found.");
        }
    }
    reader.ListMissions(list, Archive({{"a.pcx", {}}, {"bms", {}}, {"x.bm", {}}}));
    reader.ListMissions(list, Archive({}));
    EXPECT_EQ(list.Size(), 0u);
}

} // namespace
} // namespace orvik

namespace orvik {
namespace {

// Texts from a small alphabet so that many are equal once folded.
std::vector<std::string> RandomTexts(std::mt19937& rng, std::size_t count)
{
    const std::string letters = "aAbB_\xC4\xE4\x8A\x9A ";
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < count; ++i) {
        std::string text;
        for (std::size_t n = rng() % 3; n > 0; --n)
            text += letters[rng() % letters.size()];
        texts.push_back(text);
    }
    return texts;
}

TEST(SortedList, BlocksLandWhereOneByOneInsertsPutThem)
{
    struct Case {
        std::size_t before, added;
    };
    // Lines already there, then a block; empty on either side; long enough to have many equal texts.
    const Case cases[] = {{0, 0}, {0, 1}, {5, 0}, {0, 300}, {1, 300}, {300, 1}, {200, 200}, {3000, 4000}};
    std::mt19937 rng(5);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + " + " + std::to_string(c.added));
        const auto first = RandomTexts(rng, c.before);
        const auto second = RandomTexts(rng, c.added);
        SortedStringList oneByOne, blocks;
        std::vector<SortedLine> firstLines, secondLines;
        std::uint32_t data = 0;
        for (const auto& t : first) {
            oneByOne.SetItemData(oneByOne.AddSorted(t), data);
            firstLines.push_back({t, data++});
        }
        for (const auto& t : second) {
            oneByOne.SetItemData(oneByOne.AddSorted(t), data);
            secondLines.push_back({t, data++});
        }
        blocks.AddAllSorted(firstLines);
        blocks.AddAllSorted(secondLines);
        ASSERT_EQ(blocks.Size(), oneByOne.Size());
        for (std::size_t i = 0; i < blocks.Size(); ++i) {
            ASSERT_EQ(blocks.Text(i), oneByOne.Text(i)) << i;
            ASSERT_EQ(blocks.ItemData(i), oneByOne.ItemData(i)) << i; // each line keeps its own data
        }
        // The order alone, as the command line takes it.
        std::vector<std::string> all = first;
        all.insert(all.end(), second.begin(), second.end());
        const auto order = SortedOrder(all);
        ASSERT_EQ(order.size(), all.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            ASSERT_EQ(order[i], oneByOne.ItemData(i)) << i;
    }
}

TEST_F(MissionListTest, ManyEqualTextsKeepTheArchivesOrder)
{
    std::vector<PffFile> files;
    for (int i = 0; i < 500; ++i)
        files.push_back(
            {(i % 2 ? "DUP.BMS" : "dup.bms"), Mission(i % 4 < 2 ? "Twin" : "twin", static_cast<std::uint32_t>(i))});
    files.push_back({"a.bms", Mission("First", 1)});
    const std::string path = Archive(files, gamedata::PffLayout{2, false, 1});
    SortedStringList list;
    CPffArchive().ListMissions(list, path);
    ASSERT_EQ(list.Size(), 501u);
    EXPECT_EQ(list.Text(0), "a.bms (First)");
    EXPECT_EQ(list.ItemData(0), Offset(500));
    for (std::size_t i = 1; i < list.Size(); ++i) {
        EXPECT_EQ(list.ItemData(i), Offset(i - 1));
        EXPECT_EQ(list.Text(i), std::string("dup.bms (") + ((i - 1) % 4 < 2 ? "Twin" : "twin") + ")");
    }
}

} // namespace
} // namespace orvik
