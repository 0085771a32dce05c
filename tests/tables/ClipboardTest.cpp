// The table's rows on the clipboard: a copy is the table `orvik items` prints, and a paste puts
// rows where the header, the selection or the current cell says.
#include "edit/DocumentRows.h"
#include "tables/Clipboard.h"
#include "tables/Tables.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

namespace orvik::test {
namespace {

TEST(ClipboardTest, ACopyIsTheTableThatOrvikItemsPrintsAndSaveReads)
{
    CItemDefList catalogue;
    catalogue.LoadText("begin \"Rifleman\"\nid 100001\nbegin \"Jeep, desert\"\nid 100002\n");
    CMissionModel model;
    for (const auto& [id, x, flags] : {std::tuple{1, -5, 16}, std::tuple{2, 70000, 0}}) {
        auto item = std::make_unique<CMissionItem>();
        item->m_nId = id;
        item->m_nX = x;
        item->m_nFlags = flags;
        model.items.push_back(std::move(item));
    }
    EditDocument doc;
    doc.Load(RowsOfModel(model, catalogue));
    std::ostringstream printed;
    cli::WriteTable(printed, model, catalogue, cli::TableFormat::Tsv);
    EXPECT_EQ(CopyRowsText(doc, {0, 1}), printed.str());
    const std::vector<ItemRow> read = cli::ReadTable(CopyRowsText(doc, {1}), cli::TableFormat::Tsv);
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0][kColItem], "Jeep, desert");
    EXPECT_EQ(read[0][kColX], "70000");
}

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
        {"csv: quoted cells with commas, quotes and line ends", "Item,Angle\n\"Jeep, \"\"desert\"\"\",\"4\n5\"\n", {},
         {0, 0}, {{0, kColItem, "Jeep, \"desert\""}, {0, kColAngle, "4\n5"}}, "Undo Paste, 1 row"},
        {"no tab and no header: one column, commas kept; blank lines inside count",
         "Jeep, desert\n\nTruck\n\n\n", {}, {1, kColItem},
         {{1, kColItem, "Jeep, desert"}, {2, kColItem, ""}, {3, kColItem, "Truck"}}, "Undo Paste, 3 rows"},
        {"UTF-8 becomes Windows-1252", "Gen\xC3\xA9ral\n", {}, {0, 0}, {{0, kColItem, "Gen\xE9ral"}},
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

} // namespace
} // namespace orvik::test
