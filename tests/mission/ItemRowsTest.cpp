// The item table's texts: records to cells and cells back into records.
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

    item.m_nId = -10; // Crate: negative ids are ids too
    EXPECT_EQ(ItemToRow(item, catalogue)[kColItem], "Crate");
    item.m_nId = 77;
    EXPECT_EQ(ItemToRow(item, catalogue)[kColItem], "");
    item.m_nId = 21; // the later of two entries named alike shows that name
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

TEST(ItemRows, CenterItemPositionIsTheLastCenterItems)
{
    const CItemDefList catalogue = MakeCatalogue();
    struct Case {
        const char* what;
        std::vector<std::int32_t> ids;
        int centreIndex; // -1: no centre
    };
    const Case cases[] = {
        {"no items", {}, -1},
        {"no centre item", {5, 20, 77}, -1},
        {"one centre item among others", {5, 10, 20}, 1},
        {"the last of several wins", {30, 5, 10, 20}, 2},
        {"the first item alone", {30}, 0},
    };
    for (const Case& c : cases) {
        std::vector<CMissionItem> items;
        for (std::size_t i = 0; i < c.ids.size(); ++i)
            items.push_back(MakeItem(c.ids[i], static_cast<std::uint32_t>(i + 1)));
        CMissionModel model;
        SetItems(model, items);
        const auto center = CenterItemPosition(model, catalogue);
        if (c.centreIndex < 0) {
            EXPECT_FALSE(center.has_value()) << c.what;
            continue;
        }
        ASSERT_TRUE(center.has_value()) << c.what;
        const CMissionItem& expected = items[static_cast<std::size_t>(c.centreIndex)];
        EXPECT_EQ(center->first, expected.m_nX) << c.what;
        EXPECT_EQ(center->second, expected.m_nY) << c.what;
    }
}

TEST(ItemRows, ApplyForSaveConvertsTextsAndIgnoresIdAndMpOnly)
{
    const CItemDefList catalogue = MakeCatalogue();
    const std::vector<CMissionItem> original = {MakeItem(5, 1, 0), MakeItem(21, 2, 16 | 4)};
    CMissionModel model;
    SetItems(model, original);
    auto rows = RowsOf(model, catalogue);
    rows[0] = {"Map Center", "12abc", "abc", " -7", "+90", "999", "Y"};
    rows[1][kColX] = "4294967297"; // wraps modulo 2^32

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
    expected1.m_nId = 20; // the name leads to the first entry that bears it
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

} // namespace
} // namespace orvik
