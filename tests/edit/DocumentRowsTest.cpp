// A whole table applied as one step, and the row of the first unknown name.
#include "edit/DocumentRows.h"

#include <gtest/gtest.h>

namespace orvik::test {
namespace {

TEST(DocumentRowsTest, ATableIsOneStepThatLeavesShownOnlyColumns)
{
    const std::vector<ItemRow> loaded = {{"Tree", "1", "2", "3", "4", "10", "N"},
                                         {"Hut", "5", "6", "7", "8", "11", "Y"}};
    struct Case {
        const char* what;
        std::vector<ItemRow> table;
        bool changed;
        std::vector<ItemRow> after;
    };
    const Case cases[] = {
        {"same texts", loaded, false, loaded},
        {"ID and MP Only are not taken", {{"Tree", "1", "2", "3", "4", "99", "Y"}, loaded[1]}, false, loaded},
        {"positions and names",
         {{"Hut", "-1", "2", "3", "4", "10", "N"}, {"Hut", "5", "6", "7", "90", "11", "Y"}},
         true,
         {{"Hut", "-1", "2", "3", "4", "10", "N"}, {"Hut", "5", "6", "7", "90", "11", "Y"}}},
        {"a short table leaves the rest",
         {{"Tree", "0", "2", "3", "4", "10", "N"}},
         true,
         {{"Tree", "0", "2", "3", "4", "10", "N"}, loaded[1]}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditDocument document;
        document.Load(loaded);
        EXPECT_EQ(ApplyTableRows(document, c.table, "Table"), c.changed);
        EXPECT_EQ(document.Rows(), c.after);
        EXPECT_EQ(document.IsClean(), !c.changed);
        if (c.changed) {
            EXPECT_EQ(document.UndoText().substr(0, 5), "Undo ");
            document.Undo();
            EXPECT_EQ(document.Rows(), loaded);
        }
    }
}

TEST(DocumentRowsTest, FirstUnknownNameCountsOnlyTheItems)
{
    CItemDefList catalogue;
    catalogue.LoadText("begin \"Tree\"\nid 100010\n");
    const auto named = [](std::vector<std::string> names) {
        std::vector<ItemRow> rows;
        for (auto& name : names)
            rows.push_back({name});
        return rows;
    };
    struct Case {
        std::vector<ItemRow> rows;
        std::size_t count;
        long row;
    };
    const std::size_t known = catalogue.Size();
    ASSERT_GT(known, 0u) << "the catalogue text was not understood";
    const std::string tree = catalogue.At(0).m_strName;
    const Case cases[] = {
        {named({tree, tree}), 2, -1}, {named({tree, "tree", tree}), 3, 1}, // letter case counts
        {named({tree, ""}), 2, 1},    {named({tree, "Boat"}), 1, -1},      // rows past the items are not looked at
        {named({tree}), 2, 1},                                             // a missing row has an empty name
    };
    for (const Case& c : cases)
        EXPECT_EQ(FirstUnknownName(c.rows, c.count, catalogue), c.row);
}

} // namespace
} // namespace orvik::test
