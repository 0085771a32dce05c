// The saved texts of changed cells, checked against a plain copy of the rows as last loaded or saved.
#include "edit/EditDocument.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace orvik::test {
namespace {

std::vector<ItemRow> Rows(std::size_t count)
{
    std::vector<ItemRow> rows;
    for (std::size_t i = 0; i < count; ++i)
        rows.push_back({"Tree", std::to_string(i), "0", "0", "90", std::to_string(i + 1), "N"});
    return rows;
}

// Every cell that differs from clean is reported with clean's text, and no other.
void ExpectMarks(const EditDocument& doc, const std::vector<ItemRow>& clean)
{
    std::size_t changedRows = 0;
    for (std::size_t r = 0; r < clean.size(); ++r) {
        bool changed = false;
        for (int c = 0; c < kColumnCount; ++c) {
            const std::string& was = clean[r][static_cast<std::size_t>(c)];
            const std::string* saved = doc.Saved().Saved(r, c);
            if (doc.Cell(r, c) == was) {
                EXPECT_EQ(saved, nullptr) << "row " << r << " column " << c;
            } else {
                changed = true;
                ASSERT_NE(saved, nullptr) << "row " << r << " column " << c;
                EXPECT_EQ(*saved, was) << "row " << r << " column " << c;
            }
        }
        EXPECT_EQ(doc.Saved().IsRowChanged(r), changed) << "row " << r;
        changedRows += changed ? 1 : 0;
    }
    EXPECT_EQ(doc.Saved().ChangedRowCount(), changedRows);
}

TEST(SavedTextsTest, FollowEditsUndoRedoMergesAndSavesAtRandom)
{
    std::mt19937 random(20261211);
    for (int run = 0; run < 20; ++run) {
        EditDocument doc;
        doc.Load(Rows(4));
        std::vector<ItemRow> clean = doc.Rows();
        for (int step = 0; step < 60; ++step) {
            const auto row = static_cast<std::size_t>(random() % 4);
            const int column = static_cast<int>(random() % 5); // the editable ones
            // Few texts, so that edits often come back to the saved one.
            const std::string text = std::to_string(random() % 3);
            switch (random() % 6) {
            case 0: doc.SetCell(row, column, text); break;
            case 1: doc.SetCells({{row, column, {}, text}, {(row + 1) % 4, column, {}, text}, {row, column, {}, "x"}}); break;
            case 2: doc.MergeCells({{row, column, {}, text}}, "Move item", true); break;
            case 3: doc.Undo(); break;
            case 4: doc.Redo(); break;
            case 5:
                doc.SetClean();
                clean = doc.Rows();
                break;
            }
            ExpectMarks(doc, clean);
            EXPECT_EQ(doc.Saved().Empty(), doc.Rows() == clean);
            if (::testing::Test::HasFailure())
                return;
        }
    }
}

TEST(SavedTextsTest, ChangesListCellsByRowWithSavedAndPresentTexts)
{
    EditDocument doc;
    doc.Load(Rows(3));
    doc.SetCell(2, kColX, "7");
    doc.SetCell(0, kColZ, "-5");
    doc.SetCell(0, kColItem, "Tank");
    const std::vector<CellChange> changes = doc.Saved().Changes(doc.Rows());
    ASSERT_EQ(changes.size(), 3U);
    EXPECT_EQ(std::vector<int>({changes[0].column, changes[1].column, changes[2].column}),
              std::vector<int>({kColItem, kColZ, kColX}));
    EXPECT_EQ(changes[2].row, 2U);
    EXPECT_EQ(changes[2].before, "2");
    EXPECT_EQ(changes[2].after, "7");
    doc.Load(Rows(3));
    EXPECT_TRUE(doc.Saved().Empty());
}

} // namespace
} // namespace orvik::test
