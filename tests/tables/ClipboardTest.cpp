// The table's rows on the clipboard: a paste puts rows where the header, the selection or the
// current cell says, and a copy reads back as `orvik save` reads a table.
#include "tables/Clipboard.h"
#include "tables/Tables.h"

#include <gtest/gtest.h>

namespace orvik::test {
namespace {

ItemRow Row(int r)
{
    const std::string n = std::to_string(r);
    return {"item" + n, "x" + n, "y" + n, "z" + n, "a" + n, "id" + n, "N"};
}

TEST(ClipboardTest, PastedRowsGoWhereTheHeaderTheSelectionOrTheCurrentCellSays)
{
    struct Cell {
        std::size_t row;
        int column;
        std::string text;
    };
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::size_t> selected;
        CellRef current;
        std::vector<Cell> changed;
        std::string undo;
    };
    const Case cases[] = {
        {"header: from the current row down, ID and MP Only ignored",
         "Item\tX Position\tID\tMP Only\nJeep\t5\t99\tY\nTruck\t6\t98\tY\n", {2}, {2, kColAngle},
         {{2, kColItem, "Jeep"}, {2, kColX, "5"}, {3, kColItem, "Truck"}, {3, kColX, "6"}}, "Undo Paste, 2 rows"},
        {"header: into the selected rows in order", "Angle\n10\n20\n30\n", {0, 2, 4}, {4, 0},
         {{0, kColAngle, "10"}, {2, kColAngle, "20"}, {4, kColAngle, "30"}}, "Undo Paste, 3 rows"},
        {"header: one row into every selected row", " Angle \r\n45\r\n", {1, 3}, {3, 0},
         {{1, kColAngle, "45"}, {3, kColAngle, "45"}}, "Undo Paste, 2 rows"},
        {"header: a short row leaves the cells it lacks", "Item\tAngle\nJeep\n", {}, {0, 0},
         {{0, kColItem, "Jeep"}}, "Undo Item, row 1"},
        {"no header: a block at the current cell", "1\t2\r\n3\t4\r\n", {0, 1, 2}, {1, kColX},
         {{1, kColX, "1"}, {1, kColY, "2"}, {2, kColX, "3"}, {2, kColY, "4"}}, "Undo Paste, 2 rows"},
        {"no tab and no header: one column, commas kept; blank lines inside count",
         "Jeep, desert\n\nTruck\n\n\n", {}, {1, kColItem},
         {{1, kColItem, "Jeep, desert"}, {2, kColItem, ""}, {3, kColItem, "Truck"}}, "Undo Paste, 3 rows"},
        {"UTF-8 becomes Windows-1252", "Gen\xC3\xA9ral\n", {}, {0, 0}, {{0, kColItem, "Gen\xE9ral"}},
         "Undo Item, row 1"},
        {"not UTF-8: Windows-1252 as it stands", "Gen\xE9ral\n", {}, {0, 0}, {{0, kColItem, "Gen\xE9ral"}},
         "Undo Item, row 1"},
        {"semicolon header, rows of empty cells after the block are no rows", "Item;Angle\nJeep;5\n;\n;\n", {}, {3, 0},
         {{3, kColItem, "Jeep"}, {3, kColAngle, "5"}}, "Undo Paste, 1 row"},
        {"UTF-16 with its mark", std::string("\xFF\xFEJ\0e\0\xE9\0p\0", 10), {}, {0, 0}, {{0, kColItem, "Je\xE9p"}},
         "Undo Item, row 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<ItemRow> rows;
        for (int r = 0; r < 5; ++r)
            rows.push_back(Row(r));
        EditDocument doc;
        doc.Load(rows);
        const RowsOutcome outcome = PasteText(doc, c.text, {c.selected, c.current});
        EXPECT_EQ(outcome.refusal, "");
        for (const Cell& cell : c.changed)
            rows[cell.row][static_cast<std::size_t>(cell.column)] = cell.text;
        EXPECT_EQ(doc.Rows(), rows);
        EXPECT_EQ(doc.UndoText(), c.undo);
    }
}

TEST(ClipboardTest, AHeaderOfShownOnlyColumnsIsRefused)
{
    EditDocument doc;
    doc.Load({Row(0), Row(1)});
    const RowsOutcome outcome = PasteText(doc, "ID\tMP Only\n7\tY\n", {{}, CellRef{0, 0}});
    EXPECT_NE(outcome.refusal.find("names only columns that are shown only"), std::string::npos) << outcome.refusal;
    EXPECT_FALSE(doc.CanUndo());
}

TEST(ClipboardTest, CellsWithTabsLineBreaksAndQuotesCopyAndPasteBackWhole)
{
    const std::vector<ItemRow> held = {{"Tab\there", "1", "2", "3", "4", "id", "N"},
                                       {"Two\r\nlines\n", "\"5\"", "6\t", "7", "8", "id", "N"},
                                       {"\"Quoted\" Jeep", "a\"b", "", "9", "0", "id", "N"}};
    EditDocument from;
    from.Load(held);
    EditDocument to;
    to.Load({Row(0), Row(1), Row(2)});
    const RowsOutcome outcome = PasteText(to, CopyRowsText(from, {0, 1, 2}), {{}, CellRef{0, 0}});
    EXPECT_EQ(outcome.refusal, "");
    for (std::size_t r = 0; r < held.size(); ++r)
        for (int c : {kColItem, kColX, kColY, kColZ, kColAngle})
            EXPECT_EQ(to.Cell(r, c), held[r][static_cast<std::size_t>(c)]) << r << "," << c;
}

TEST(ClipboardTest, ACopyReadsBackAsSaveReadsATable)
{
    EditDocument doc;
    doc.Load({Row(0), {"Jeep, desert", "5", "-6", "7", "8", "9", "Y"}});
    const std::vector<ItemRow> read = cli::ReadTable(CopyRowsText(doc, {1}), cli::TableFormat::Tsv);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0], (ItemRow{"Jeep, desert", "5", "-6", "7", "8", "", ""})); // Save does not read ID and MP Only
}

} // namespace
} // namespace orvik::test
