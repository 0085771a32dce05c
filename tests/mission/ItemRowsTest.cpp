// The item table's texts: records to cells, cells back into records, and the save into the archive.
#include "mission/ItemRows.h"
#include "common/FileError.h"
#include "mission/MissionTestData.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace orvik {
namespace {

using gamedata::MissionSpec;
using test::KeptWords;
using test::MakeItem;

CItemDefList MakeCatalogue()
{
    CItemDefList catalogue;
    catalogue.LoadText("begin \"Soldier\"\nid 100005\n"
                       "begin \"Map Center\"\nid 100010\n"
                       "begin \"Tank\"\nid 100020\n"
                       "begin \"Tank\"\nid 100021\n"
                       "begin \"LZ_CENTER\"\nid 100030\n"
                       "begin \"Crate\"\nid 99990\n");
    return catalogue;
}

void SetItems(CMissionModel& model, const std::vector<CMissionItem>& items)
{
    model.Clear();
    for (const auto& item : items)
        model.items.push_back(std::make_unique<CMissionItem>(item));
}

std::vector<ItemRow> RowsOf(const CMissionModel& model, const CItemDefList& catalogue)
{
    std::vector<ItemRow> rows;
    for (const auto& item : model.items)
        rows.push_back(ItemToRow(*item, catalogue));
    return rows;
}

TEST(ItemRows, CellTexts)
{
    const CItemDefList catalogue = MakeCatalogue();
    CMissionItem item = MakeItem(5, 1, 16);
    item.m_nX = -5;
    item.m_nY = 2147483647;
    item.m_nZ = 0;
    item.m_nAngle = -2147483647 - 1;
    item.m_nNumber = 42;
    const ItemRow row = ItemToRow(item, catalogue);
    EXPECT_EQ(row, (ItemRow{"Soldier", "-5", "2147483647", "0", "-2147483648", "42", "Y"}));

    item.m_nFlags = 0;
    EXPECT_EQ(ItemToRow(item, catalogue)[kColMpOnly], "N");
    item.m_nFlags = 32;
    EXPECT_EQ(ItemToRow(item, catalogue)[kColMpOnly], "N");
    item.m_nFlags = 16 | 32 | 1;
    EXPECT_EQ(ItemToRow(item, catalogue)[kColMpOnly], "Y");

    item.m_nId = -10;  // Crate: negative ids are ids too
    EXPECT_EQ(ItemToRow(item, catalogue)[kColItem], "Crate");
    item.m_nId = 77;
    EXPECT_EQ(ItemToRow(item, catalogue)[kColItem], "");
    item.m_nId = 21;  // the later of two entries named alike shows that name
    EXPECT_EQ(ItemToRow(item, catalogue)[kColItem], "Tank");

    EXPECT_STREQ(ItemColumnTitles()[kColItem], "Item");
    EXPECT_STREQ(ItemColumnTitles()[kColMpOnly], "MP Only");
}

TEST(ItemRows, CenterItemsByFoldedName)
{
    const CItemDefList catalogue = MakeCatalogue();
    EXPECT_TRUE(IsCenterItem(MakeItem(10, 1), catalogue));
    EXPECT_TRUE(IsCenterItem(MakeItem(30, 1), catalogue));
    EXPECT_FALSE(IsCenterItem(MakeItem(5, 1), catalogue));
    EXPECT_FALSE(IsCenterItem(MakeItem(77, 1), catalogue));
}

TEST(ItemRows, ApplyForSaveConvertsTextsAndIgnoresIdAndMpOnly)
{
    const CItemDefList catalogue = MakeCatalogue();
    const std::vector<CMissionItem> original = {MakeItem(5, 1, 0), MakeItem(21, 2, 16 | 4)};
    CMissionModel model;
    SetItems(model, original);
    auto rows = RowsOf(model, catalogue);
    rows[0] = {"Map Center", "12abc", "abc", " -7", "+90", "999", "Y"};
    rows[1][kColX] = "4294967297";  // wraps modulo 2^32

    const ApplyResult result = ApplyRowsForSave(rows, model, catalogue);
    ASSERT_TRUE(result.ok);
    auto expected0 = original[0];
    expected0.m_nId = 10;
    expected0.m_nX = 12;
    expected0.m_nY = 0;
    expected0.m_nZ = -7;
    expected0.m_nAngle = 90;
    EXPECT_EQ(model.items[0]->ToWords(), expected0.ToWords());
    auto expected1 = original[1];
    expected1.m_nId = 20;  // the name leads to the first entry that bears it
    expected1.m_nX = 1;
    EXPECT_EQ(model.items[1]->ToWords(), expected1.ToWords());
}

TEST(ItemRows, FirstUnknownNameStops)
{
    const CItemDefList catalogue = MakeCatalogue();
    struct Case {
        const char* what;
        std::string badName;
    };
    for (const Case& c : {Case{"unknown", "Soldat"}, Case{"other letter case", "soldier"}, Case{"empty", ""}}) {
        CMissionModel model;
        SetItems(model, {MakeItem(5, 1), MakeItem(20, 2), MakeItem(5, 3)});
        auto rows = RowsOf(model, catalogue);
        rows[1][kColItem] = c.badName;
        rows[1][kColX] = "55";
        rows[2][kColX] = "66";
        const ApplyResult result = ApplyRowsForSave(rows, model, catalogue);
        EXPECT_FALSE(result.ok) << c.what;
        EXPECT_EQ(result.badRow, 1u) << c.what;
        EXPECT_EQ(result.badName, c.badName) << c.what;
        EXPECT_EQ(model.items[1]->m_nX, 55) << c.what;
        EXPECT_EQ(model.items[1]->m_nId, 20) << c.what;
        EXPECT_NE(model.items[2]->m_nX, 66) << c.what;
    }

    // Rows missing at the end read as empty texts, and an empty name is unknown.
    CMissionModel model;
    SetItems(model, {MakeItem(5, 1), MakeItem(20, 2)});
    auto rows = RowsOf(model, catalogue);
    rows.pop_back();
    const ApplyResult result = ApplyRowsForSave(rows, model, catalogue);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.badRow, 1u);
    EXPECT_EQ(result.badName, "");
    EXPECT_EQ(model.items[1]->m_nX, 0);

    EXPECT_EQ(InvalidNameSaveMessage("Soldat"), "Invalid item name \"Soldat\" aborting save.");
    EXPECT_EQ(InvalidNameRefreshMessage(""), "Invalid item name \"\" cannot refresh.");
}

TEST(ItemRows, RefreshStopsAtTheBadRowAndLeavesTheAngle)
{
    const CItemDefList catalogue = MakeCatalogue();
    std::vector<CMissionItem> original;
    for (std::uint32_t i = 0; i < 5; ++i)
        original.push_back(MakeItem(5, i));
    CMissionModel model;
    SetItems(model, original);
    std::vector<ItemRow> rows(5);
    for (std::size_t i = 0; i < 5; ++i)
        rows[i] = {"Tank", std::to_string(100 + i), std::to_string(200 + i), std::to_string(300 + i), "45", "1", "Y"};
    rows[2][kColItem] = "Nothing";

    const ApplyResult result = ApplyRowsForRefresh(rows, model, catalogue);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.badRow, 2u);
    EXPECT_EQ(result.badName, "Nothing");
    for (std::size_t i = 0; i < 5; ++i) {
        auto expected = original[i];
        if (i <= 2) {
            expected.m_nX = static_cast<std::int32_t>(100 + i);
            expected.m_nY = static_cast<std::int32_t>(200 + i);
            expected.m_nZ = static_cast<std::int32_t>(300 + i);
        }
        if (i < 2)
            expected.m_nId = 20;
        EXPECT_EQ(model.items[i]->ToWords(), expected.ToWords()) << "row " << i;
    }
}

class SaveMissionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        MissionSpec first;
        first.items = {MakeItem(5, 1, 16 | 8), MakeItem(20, 2), MakeItem(10, 3, 32)};
        MissionSpec second;
        second.items = {MakeItem(5, 4), MakeItem(30, 5, 16)};
        second.seed = 3;
        gamedata::PffLayout layout;
        layout.seed = 8;
        layout.gapBetween = 7;
        gamedata::WritePff(path, {{"one.bms", gamedata::BuildMission(first)}, {"two.bms", gamedata::BuildMission(second)}},
                           layout, &entries);
        original = test::ReadBytes(path);
        offset = entries[0].dataOffset;
        File f(path, File::Mode::Read);
        ASSERT_TRUE(model.ReadItems(f, offset));
        rows = RowsOf(model, catalogue);
    }

    void Reread(CMissionModel& again) const
    {
        File f(path, File::Mode::Read);
        EXPECT_TRUE(again.ReadItems(f, offset));
    }

    test::ScratchDir dir;
    std::string path = dir.File("kqbase.pff");
    std::vector<gamedata::PffWrittenEntry> entries;
    std::vector<std::uint8_t> original;
    std::uint32_t offset = 0;
    const CItemDefList catalogue = MakeCatalogue();
    CMissionModel model;
    std::vector<ItemRow> rows;
};

TEST_F(SaveMissionTest, SavesTheEditedRecordsInPlace)
{
    rows[1][kColItem] = "Soldier";
    rows[1][kColX] = "-1000";
    rows[2][kColAngle] = "270";
    rows[0][kColMpOnly] = "N";   // not saved
    rows[0][kColId] = "12345";   // not saved
    const SaveOutcome outcome = SaveMission(path, offset, model, rows, catalogue);
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.message, "Data saved!");

    CMissionModel saved;
    Reread(saved);
    ASSERT_EQ(saved.items.size(), 3u);
    EXPECT_EQ(saved.items[0]->ToWords(), model.items[0]->ToWords());
    EXPECT_EQ(saved.items[0]->m_nFlags, 16 | 8);
    EXPECT_EQ(saved.items[1]->m_nId, 5);
    EXPECT_EQ(saved.items[1]->m_nX, -1000);
    EXPECT_EQ(saved.items[2]->m_nAngle, 270);

    // Nothing outside this mission's records moved.
    const auto now = test::ReadBytes(path);
    ASSERT_EQ(now.size(), original.size());
    const std::size_t begin = offset + 264, end = begin + 3 * 96;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i < begin || i >= end) {
            ASSERT_EQ(now[i], original[i]) << "byte " << i;
        }
    }
}

TEST_F(SaveMissionTest, UnknownNameWritesNothing)
{
    rows[2][kColItem] = "tank";  // the catalogue spells it "Tank"
    const SaveOutcome outcome = SaveMission(path, offset, model, rows, catalogue);
    EXPECT_FALSE(outcome.saved);
    EXPECT_EQ(outcome.message, "Invalid item name \"tank\" aborting save.");
    EXPECT_EQ(test::ReadBytes(path), original);

    // The archive is not even opened: a missing one raises no error on a refused save.
    const std::string missing = dir.File("nothere.pff");
    EXPECT_FALSE(SaveMission(missing, offset, model, rows, catalogue).saved);
    EXPECT_FALSE(test::Exists(missing));
}

TEST_F(SaveMissionTest, EmptyTableOpensTheArchiveAndWritesNothing)
{
    CMissionModel empty;
    const SaveOutcome outcome = SaveMission(path, entries[1].dataOffset, empty, {}, catalogue);
    EXPECT_TRUE(outcome.saved);
    EXPECT_EQ(outcome.message, "Data saved!");
    EXPECT_EQ(test::ReadBytes(path), original);

    EXPECT_THROW(SaveMission(dir.File("nothere.pff"), 0, empty, {}, catalogue), FileError);
}

TEST_F(SaveMissionTest, ArchiveThatCannotBeWrittenFails)
{
    // Missing: kind 2, and no file appears.
    const std::string missing = dir.File("nothere.pff");
    try {
        SaveMission(missing, offset, model, rows, catalogue);
        FAIL() << "saved into a missing archive";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
    }
    EXPECT_FALSE(test::Exists(missing));

    // A folder in the archive's place.
    std::filesystem::create_directory(dir.File("folder.pff"));
    EXPECT_THROW(SaveMission(dir.File("folder.pff"), offset, model, rows, catalogue), FileError);

}

TEST_F(SaveMissionTest, ReadOnlyArchiveFails)
{
    // Meaningless for a user that may write anything.
    std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
    if (File(path, File::Mode::ReadWrite).IsOpen())
        GTEST_SKIP() << "read-only files are writable for this user";
    EXPECT_THROW(SaveMission(path, offset, model, rows, catalogue), FileError);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    EXPECT_EQ(test::ReadBytes(path), original);
}

TEST_F(SaveMissionTest, RecordsBeyondTheEndOfTheFileAreRefused)
{
    // An offset whose last record would end one byte past the end of the file.
    const auto tooFar = static_cast<std::uint32_t>(original.size() - 264 - 3 * 96 + 1);
    try {
        SaveMission(path, tooFar, model, rows, catalogue);
        FAIL() << "saved past the end of the file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::EndOfFile);
    }
    EXPECT_EQ(test::ReadBytes(path), original);

    // Ending exactly at the end of the file is fine.
    EXPECT_TRUE(SaveMission(path, tooFar - 1, model, rows, catalogue).saved);
    EXPECT_EQ(test::ReadBytes(path).size(), original.size());
}

} // namespace
} // namespace orvik
