// Item records between the archive and the model: what is read, and that a write touches
// exactly the records' bytes.
#include "common/FileError.h"
#include "mission/MissionModel.h"
#include "mission/MissionTestData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace orvik {
namespace {

using gamedata::BuildMission;
using gamedata::MissionSpec;
using gamedata::PffFile;
using gamedata::PffWrittenEntry;
using test::KeptWords;
using test::MakeItem;

class MissionRecordsTest : public ::testing::Test {
protected:
    // Writes an archive of the given missions (names m0.bms, m1.bms, ...) and returns its bytes.
    std::vector<std::uint8_t> WriteArchive(const std::vector<std::vector<std::uint8_t>>& missions,
                                           bool tableFirst = false)
    {
        std::vector<PffFile> files;
        for (std::size_t i = 0; i < missions.size(); ++i)
            files.push_back({"m" + std::to_string(i) + ".bms", missions[i]});
        gamedata::PffLayout layout;
        layout.seed = 11;
        layout.tableFirst = tableFirst;
        layout.gapBetween = 13;
        gamedata::WritePff(path, files, layout, &entries);
        return test::ReadBytes(path);
    }

    test::ScratchDir dir;
    std::string path = dir.File("kqbase.pff");
    std::vector<PffWrittenEntry> entries;
};

TEST_F(MissionRecordsTest, ReadsRecordsAndWritesBackOnlyTheirBytes)
{
    MissionSpec a;
    a.terrainName = "hills";
    a.items = {MakeItem(5, 1, 16), MakeItem(-3, 2, 16 | 32 | 1), MakeItem(700, 3, 0)};
    MissionSpec b;
    b.items = {MakeItem(9, 4, 2), MakeItem(10, 5, 16)};
    b.seed = 99;
    const auto original = WriteArchive({BuildMission(a), BuildMission(b)});

    CMissionModel model;
    {
        File f(path, File::Mode::Read);
        ASSERT_TRUE(model.ReadItems(f, entries[0].dataOffset));
    }
    ASSERT_EQ(model.items.size(), a.items.size());
    for (std::size_t i = 0; i < a.items.size(); ++i) {
        EXPECT_EQ(model.items[i]->ToWords(), KeptWords(a.items[i])) << "item " << i;
        EXPECT_EQ(model.items[i]->m_nWord0, 0);
    }
    EXPECT_TRUE(model.items[0]->IsMpOnly());
    EXPECT_TRUE(model.items[1]->IsMpOnly());
    EXPECT_FALSE(model.items[2]->IsMpOnly());

    // Unchanged items written back: the only bytes that change are the records' word 0.
    {
        File f(path, File::Mode::ReadWrite);
        model.WriteItems(f, entries[0].dataOffset);
        f.Close();
    }
    auto expected = original;
    for (std::size_t i = 0; i < a.items.size(); ++i)
        std::memset(expected.data() + entries[0].dataOffset + 264 + 96 * i, 0, 4);
    EXPECT_EQ(test::ReadBytes(path), expected);

    // A changed field lands in its own four bytes of its own record, nowhere else.
    model.items[1]->m_nY = -123456;
    {
        File f(path, File::Mode::ReadWrite);
        model.WriteItems(f, entries[0].dataOffset);
        f.Close();
    }
    PutInt32(expected.data() + entries[0].dataOffset + 264 + 96 + 24, -123456);
    EXPECT_EQ(test::ReadBytes(path), expected);
}

TEST_F(MissionRecordsTest, MissionWithoutItemsReadsOnlyTheEndMark)
{
    MissionSpec empty;
    MissionSpec other;
    other.items = {MakeItem(1, 8)};
    const auto original = WriteArchive({BuildMission(empty), BuildMission(other)});

    CMissionModel model;
    File f(path, File::Mode::ReadWrite);
    EXPECT_TRUE(model.ReadItems(f, entries[0].dataOffset));
    EXPECT_TRUE(model.items.empty());
    EXPECT_EQ(f.Position(), static_cast<std::int64_t>(entries[0].dataOffset) + 264 + 8);
    model.WriteItems(f, entries[0].dataOffset);
    f.Close();
    EXPECT_EQ(test::ReadBytes(path), original);
}

TEST_F(MissionRecordsTest, RecordsRunningToTheEndOfTheFileKeepWholeRecords)
{
    MissionSpec plan;
    plan.items = {MakeItem(4, 1), MakeItem(5, 2), MakeItem(6, 3)};
    plan.endMark = false;
    const auto whole = BuildMission(plan);

    struct Case {
        const char* what;
        std::size_t cut;   // bytes dropped from the end of the mission
        std::size_t extra; // bytes of an end mark's start added
        std::size_t expectedItems;
    };
    const Case cases[] = {
        {"records end exactly at the end of the file", 0, 0, 3},
        {"last record cut short", 40, 0, 2},
        {"file ends inside the end mark", 0, 4, 3},
        {"file ends inside the first record", 96 * 2 + 50, 0, 0},
    };
    for (const auto& c : cases) {
        auto data = whole;
        data.resize(data.size() - c.cut);
        data.insert(data.end(), c.extra, 0x5A);
        // The table goes first so that this mission's data is the last thing in the file.
        WriteArchive({BuildMission(MissionSpec{}), data}, true);
        CMissionModel model;
        File f(path, File::Mode::Read);
        EXPECT_FALSE(model.ReadItems(f, entries[1].dataOffset)) << c.what;
        ASSERT_EQ(model.items.size(), c.expectedItems) << c.what;
        for (std::size_t i = 0; i < c.expectedItems; ++i)
            EXPECT_EQ(model.items[i]->ToWords(), KeptWords(plan.items[i])) << c.what;
    }
}

TEST_F(MissionRecordsTest, LargeMissionReadsAcrossBlockBoundaries)
{
    MissionSpec plan;
    for (std::uint32_t i = 0; i < 1500; ++i)
        plan.items.push_back(MakeItem(static_cast<std::int32_t>(i % 97) + 1, i, (i % 3) ? 16 : 0));
    const auto original = WriteArchive({BuildMission(MissionSpec{}), BuildMission(plan)});

    CMissionModel model;
    File f(path, File::Mode::ReadWrite);
    ASSERT_TRUE(model.ReadItems(f, entries[1].dataOffset));
    ASSERT_EQ(model.items.size(), plan.items.size());
    for (std::size_t i = 0; i < plan.items.size(); ++i)
        ASSERT_EQ(model.items[i]->ToWords(), KeptWords(plan.items[i])) << "item " << i;

    model.WriteItems(f, entries[1].dataOffset);
    f.Close();
    auto expected = original;
    for (std::size_t i = 0; i < plan.items.size(); ++i)
        std::memset(expected.data() + entries[1].dataOffset + 264 + 96 * i, 0, 4);
    EXPECT_EQ(test::ReadBytes(path), expected);
}

TEST_F(MissionRecordsTest, ClosedArchiveFailsAsNotFound)
{
    CMissionModel model;
    File f(dir.File("missing.pff"), File::Mode::Read);
    try {
        model.ReadItems(f, 0);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
    }
}

} // namespace
} // namespace orvik
