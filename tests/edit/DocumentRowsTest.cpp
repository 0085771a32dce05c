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

} // namespace
} // namespace orvik::test
