// Arrow-key moves join one step only while that step is the last one and not the saved state.
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

} // namespace
} // namespace orvik::test
