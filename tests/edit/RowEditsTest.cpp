// Steps over many rows: moves with clamping, arrow presses that join one step, fill refusals.
#include "edit/RowEdits.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvik::test {
namespace {

ItemRow Row(const std::string& x, const std::string& y, const std::string& z)
{
    return {"Bunker", x, y, z, "0", "7", "N"};
}

TEST(RowEditsTest, MovesAddTheOffsetAndClampAtThe32BitEdges)
{
    struct Case {
        const char* what;
        ItemRow row;
        MoveOffset offset;
        ItemRow moved;
        bool clamped;
    };
    const Case cases[] = {
        {"all three axes", Row("10", "-20", "5"), {1, 2, -3}, Row("11", "-18", "2"), false},
        {"a cell without a number stays", Row("x1", " 4 ", "+2"), {1, 1, 1}, Row("x1", "5", "3"), false},
        {"past the top", Row("2147483000", "0", "0"), {1000, 0, 0}, Row("2147483647", "0", "0"), true},
        {"a huge offset", Row("5", "-5", "0"), {0, -(std::int64_t{1} << 40), 0}, Row("5", "-2147483648", "0"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditDocument doc;
        doc.Load({Row("0", "0", "0"), c.row});
        const RowsOutcome outcome = MoveRows(doc, {1}, c.offset);
        EXPECT_EQ(doc.Rows()[1], c.moved);
        EXPECT_EQ(outcome.clampedRows, c.clamped ? std::vector<std::size_t>{1} : std::vector<std::size_t>{});
        EXPECT_EQ(doc.Rows()[0], Row("0", "0", "0"));
    }
    EXPECT_EQ(ClampedRowsMessage({2}), "Row 3 was moved only as far as the 32-bit range allows.");
    EXPECT_EQ(ClampedRowsMessage({0, 4, 9}), "Rows 1, 5 and 10 were moved only as far as the 32-bit range allows.");
    EXPECT_EQ(ClampedRowsMessage({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}),
              "Rows 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 and 2 more were moved only as far as the 32-bit range allows.");
}

TEST(RowEditsTest, MergedMovesJoinTheLastStepOnlyWhileItIsTheirs)
{
    struct Case {
        const char* what;
        void (*between)(EditDocument&);
        std::size_t steps; // after the second move
    };
    const Case cases[] = {
        {"nothing between", [](EditDocument&) {}, 1},
        {"another edit", [](EditDocument& d) { d.SetCell(0, kColAngle, "90"); }, 3},
        {"an undo", [](EditDocument& d) { d.Undo(); }, 1},
        {"a save", [](EditDocument& d) { d.SetClean(); }, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditDocument doc;
        doc.Load({Row("0", "0", "0"), Row("10", "10", "10")});
        MoveRows(doc, {0, 1}, {1, 0, 0}, MoveJoin::Open);
        c.between(doc);
        MoveRows(doc, {0, 1}, {0, 2, 0}, MoveJoin::Join);
        std::size_t steps = 0;
        while (doc.CanUndo()) {
            doc.Undo();
            ++steps;
        }
        EXPECT_EQ(steps, c.steps);
        EXPECT_EQ(doc.Rows()[1], Row("10", "10", "10"));
    }
    EditDocument doc;
    doc.Load({Row("0", "0", "0"), Row("10", "10", "10")});
    MoveRows(doc, {0, 1}, {1, 0, 0}, MoveJoin::Open);
    MoveRows(doc, {0, 1}, {1, 0, 0}, MoveJoin::Join);
    MoveRows(doc, {0, 1}, {1, 0, 0}, MoveJoin::Open); // a key held again after a pause
    EXPECT_EQ(doc.Rows()[1], Row("13", "10", "10"));
    doc.Undo();
    EXPECT_EQ(doc.UndoText(), "Undo Move, 2 items");
    EXPECT_EQ(doc.Rows()[1], Row("12", "10", "10"));
}

TEST(RowEditsTest, FillIsRefusedWholeForAShownOnlyColumnOrAMissingRow)
{
    EditDocument doc;
    doc.Load({Row("0", "0", "0"), Row("1", "1", "1")});
    EXPECT_EQ(FillColumn(doc, {0, 1}, kColId, "9").refusal, "The ID column is shown only: it cannot be filled.");
    EXPECT_FALSE(FillColumn(doc, {0, 2}, kColX, "9").refusal.empty());
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_TRUE(FillColumn(doc, {0, 1}, kColAngle, "45").changed);
    EXPECT_EQ(doc.UndoText(), "Undo Fill, 2 rows");
}

} // namespace
} // namespace orvik::test
