// The edit document: commands, undo and redo, the clean mark, notifications and find.
#include "edit/EditDocument.h"
#include "edit/SetCellsCommand.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvik::test {
namespace {

ItemRow Row(const std::string& name, int x)
{
    return {name, std::to_string(x), "0", "0", "90", std::to_string(x + 1000), "N"};
}

std::vector<ItemRow> ThreeRows() { return {Row("Soldier", 1), Row("Truck", 2), Row("Map Center", 3)}; }

// Every notification, in order.
struct Recorder {
    explicit Recorder(EditDocument& doc) : doc(doc)
    {
        id = doc.Subscribe([this](const DocumentChange& change) { changes.push_back(change); });
    }
    ~Recorder() { doc.Unsubscribe(id); }
    std::vector<DocumentChange::Kind> Kinds() const
    {
        std::vector<DocumentChange::Kind> kinds;
        for (const auto& change : changes)
            kinds.push_back(change.kind);
        return kinds;
    }
    EditDocument& doc;
    int id = 0;
    std::vector<DocumentChange> changes;
};

using Kind = DocumentChange::Kind;

TEST(EditDocumentTest, SetCellAcceptsOnlyRealChangesOfEditableCells)
{
    struct Case {
        const char* what;
        std::size_t row;
        int column;
        std::string text;
        bool done;
    };
    const Case cases[] = {
        {"a position", 1, kColX, "-12", true},        {"a name, any text", 0, kColItem, "no such item", true},
        {"an empty text", 2, kColAngle, "", true},    {"the same text", 1, kColX, "2", false},
        {"ID is shown only", 0, kColId, "7", false},  {"MP Only is shown only", 0, kColMpOnly, "Y", false},
        {"a row past the end", 3, kColX, "1", false}, {"a column past the end", 0, kColumnCount, "1", false},
        {"a negative column", 0, -1, "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditDocument doc;
        doc.Load(ThreeRows());
        Recorder recorder(doc);
        const std::string before = doc.Cell(c.row, c.column);
        EXPECT_EQ(doc.SetCell(c.row, c.column, c.text), c.done);
        EXPECT_EQ(doc.Cell(c.row, c.column), c.done ? c.text : before);
        EXPECT_EQ(doc.CanUndo(), c.done);
        EXPECT_EQ(doc.IsClean(), !c.done);
        if (c.done) {
            ASSERT_EQ(recorder.Kinds(), (std::vector<Kind>{Kind::Cells, Kind::CleanState}));
            EXPECT_EQ(recorder.changes[0].cells, (std::vector<CellRef>{{c.row, c.column}}));
        } else {
            EXPECT_TRUE(recorder.changes.empty());
        }
    }
}

TEST(EditDocumentTest, UndoAndRedoWalkTheStepsAndNameThem)
{
    EditDocument doc;
    doc.Load(ThreeRows());
    ASSERT_TRUE(doc.SetCell(1, kColX, "50"));
    ASSERT_TRUE(doc.SetCells({{0, kColX, "", "10"}, {0, kColY, "", "20"}, {2, kColX, "", "30"}}, "Move items"));
    ASSERT_TRUE(doc.SetCell(2, kColItem, "Tent"));

    struct Step {
        enum { kUndo, kRedo } action;
        bool did;
        std::vector<CellRef> cells;
        std::vector<std::string> column1; // X of rows 0, 1, 2 afterwards
        std::string item2;
        std::string undoText;
        std::string redoText;
    };
    const Step steps[] = {
        {Step::kUndo, true, {{2, kColItem}}, {"10", "50", "30"}, "Map Center", "Undo Move items", "Redo Item, row 3"},
        {Step::kUndo,
         true,
         {{2, kColX}, {0, kColY}, {0, kColX}},
         {"1", "50", "3"},
         "Map Center",
         "Undo X Position, row 2",
         "Redo Move items"},
        {Step::kUndo, true, {{1, kColX}}, {"1", "2", "3"}, "Map Center", "Undo", "Redo X Position, row 2"},
        {Step::kUndo, false, {}, {"1", "2", "3"}, "Map Center", "Undo", "Redo X Position, row 2"},
        {Step::kRedo, true, {{1, kColX}}, {"1", "50", "3"}, "Map Center", "Undo X Position, row 2", "Redo Move items"},
        {Step::kRedo,
         true,
         {{0, kColX}, {0, kColY}, {2, kColX}},
         {"10", "50", "30"},
         "Map Center",
         "Undo Move items",
         "Redo Item, row 3"},
        {Step::kRedo, true, {{2, kColItem}}, {"10", "50", "30"}, "Tent", "Undo Item, row 3", "Redo"},
        {Step::kRedo, false, {}, {"10", "50", "30"}, "Tent", "Undo Item, row 3", "Redo"},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        const Step& s = steps[i];
        const auto cells = s.action == Step::kUndo ? doc.Undo() : doc.Redo();
        EXPECT_EQ(!cells.empty(), s.did);
        EXPECT_EQ(cells, s.cells);
        for (std::size_t r = 0; r < 3; ++r)
            EXPECT_EQ(doc.Cell(r, kColX), s.column1[r]) << r;
        EXPECT_EQ(doc.Cell(0, kColY), s.column1[0] == "10" ? "20" : "0");
        EXPECT_EQ(doc.Cell(2, kColItem), s.item2);
        EXPECT_EQ(doc.UndoText(), s.undoText);
        EXPECT_EQ(doc.RedoText(), s.redoText);
    }
}

TEST(EditDocumentTest, TheCleanMarkFollowsLoadsSavesAndTheHistory)
{
    // Each script runs on a fresh document; 's' marks a save, 'u' an undo, 'r' a redo, digits set
    // row 0's X, 'l' loads again.
    struct Case {
        const char* script;
        bool clean;
    };
    const Case cases[] = {
        {"", true},       {"1", false},      {"1u", true}, // undone back to the loaded state: nothing to save
        {"1ur", false},   {"1s", true},      {"1s2", false}, {"1s2u", true}, // back at the save
        {"1s2uu", false}, // before the save is not what the file holds
        {"1su2", false},  // the saved state was undone and replaced: it cannot come back
        {"1su2u", false}, {"1su2uu", false}, {"12l", true},  {"1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        EditDocument doc;
        doc.Load(ThreeRows());
        for (const char* p = c.script; *p != '\0'; ++p) {
            switch (*p) {
            case 's': doc.SetClean(); break;
            case 'u': doc.Undo(); break;
            case 'r': doc.Redo(); break;
            case 'l': doc.Load(ThreeRows()); break;
            default: ASSERT_TRUE(doc.SetCell(0, kColX, std::string(1, *p) + "00")); break;
            }
        }
        EXPECT_EQ(doc.IsClean(), c.clean);
    }
}

TEST(EditDocumentTest, ANewEditDropsTheRedoStepsAndALoadDropsTheHistory)
{
    EditDocument doc;
    doc.Load(ThreeRows());
    doc.SetCell(0, kColX, "5");
    doc.SetCell(0, kColX, "6");
    doc.Undo();
    ASSERT_TRUE(doc.CanRedo());
    doc.SetCell(1, kColZ, "9");
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.UndoText(), "Undo Z Position, row 2");
    doc.Undo();
    doc.Undo();
    EXPECT_EQ(doc.Cell(0, kColX), "1");
    EXPECT_FALSE(doc.CanUndo());

    Recorder recorder(doc);
    doc.Load({Row("Crate", 8)});
    EXPECT_EQ(recorder.Kinds(), (std::vector<Kind>{Kind::AboutToReset, Kind::Reset}));
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_FALSE(doc.CanRedo());
    EXPECT_EQ(doc.RowCount(), 1u);
    EXPECT_EQ(doc.Cell(1, kColX), ""); // not there
}

TEST(EditDocumentTest, SetCellsIsAllOrNothingAndUndoesToTheFirstText)
{
    struct Case {
        const char* what;
        std::vector<CellChange> changes;
        bool done;
        std::vector<std::string> xAfter;
    };
    const Case cases[] = {
        {"two rows", {{0, kColX, "", "7"}, {1, kColX, "", "8"}}, true, {"7", "8", "3"}},
        {"one bad cell refuses all", {{0, kColX, "", "7"}, {1, kColId, "", "8"}}, false, {"1", "2", "3"}},
        {"one row out of range", {{0, kColX, "", "7"}, {9, kColX, "", "8"}}, false, {"1", "2", "3"}},
        {"a cell twice takes the last", {{0, kColX, "", "7"}, {0, kColX, "", "9"}}, true, {"9", "2", "3"}},
        {"nothing changes", {{0, kColX, "", "1"}, {2, kColX, "", "3"}}, false, {"1", "2", "3"}},
        {"a stale before is ignored", {{2, kColX, "wrong", "4"}}, true, {"1", "2", "4"}},
        {"empty", {}, false, {"1", "2", "3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EditDocument doc;
        doc.Load(ThreeRows());
        EXPECT_EQ(doc.SetCells(c.changes), c.done);
        for (std::size_t r = 0; r < 3; ++r)
            EXPECT_EQ(doc.Cell(r, kColX), c.xAfter[r]) << r;
        doc.Undo();
        for (std::size_t r = 0; r < 3; ++r)
            EXPECT_EQ(doc.Cell(r, kColX), std::to_string(r + 1)) << r;
        EXPECT_TRUE(doc.IsClean());
    }
}

TEST(EditDocumentTest, CommandTextsNameTheColumnAndTheRowFromOne)
{
    struct Case {
        std::vector<CellChange> changes;
        std::string label;
        std::string text;
    };
    const Case cases[] = {
        {{{11, kColX, "", ""}}, "", "X Position, row 12"},
        {{{0, kColItem, "", ""}}, "", "Item, row 1"},
        {{{0, kColAngle, "", ""}}, "Ignored for one cell", "Angle, row 1"},
        {{{0, kColX, "", ""}, {0, kColY, "", ""}}, "Move item", "Move item"},
        {{{0, kColX, "", ""}, {0, kColY, "", ""}}, "", "2 cells in 1 row"},
        {{{0, kColX, "", ""}, {4, kColX, "", ""}, {4, kColY, "", ""}}, "", "3 cells in 2 rows"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetCellsCommand(c.changes, c.label).Text(), c.text);
}

TEST(EditDocumentTest, ListenersHearCleanChangesOnlyWhenTheStateFlips)
{
    EditDocument doc;
    doc.Load(ThreeRows());
    Recorder recorder(doc);
    doc.SetCell(0, kColX, "5"); // Cells, CleanState (now dirty)
    doc.SetCell(0, kColY, "5"); // Cells
    doc.SetClean();             // CleanState
    doc.SetClean();             // nothing
    doc.Undo();                 // Cells, CleanState
    doc.Redo();                 // Cells, CleanState
    EXPECT_EQ(recorder.Kinds(), (std::vector<Kind>{Kind::Cells, Kind::CleanState, Kind::Cells, Kind::CleanState,
                                                   Kind::Cells, Kind::CleanState, Kind::Cells, Kind::CleanState}));

    // Unsubscribed listeners hear nothing more, also one that leaves while it is told.
    EditDocument other;
    other.Load(ThreeRows());
    int heard = 0;
    int id = 0;
    id = other.Subscribe([&](const DocumentChange&) {
        ++heard;
        other.Unsubscribe(id);
    });
    other.SetCell(0, kColX, "5");
    other.SetCell(0, kColX, "6");
    EXPECT_EQ(heard, 1);
}

TEST(EditDocumentTest, FindGoesRoundInEitherDirectionIgnoringCase)
{
    EditDocument doc;
    doc.Load({Row("Soldier", 0), Row("Truck", 0), Row("Map Center", 0), Row("Army Truck", 0), Row("\xC9lan", 0)});
    struct Case {
        std::string text;
        std::size_t start;
        bool forward;
        long row;
    };
    const Case cases[] = {
        {"truck", 0, true, 1},  {"TRUCK", 1, true, 1},  {"truck", 2, true, 3},  {"truck", 4, true, 1},
        {"truck", 0, false, 3}, {"truck", 2, false, 1}, {"center", 3, true, 2}, {"r", 2, true, 2},
        {"boat", 0, true, -1},  {"", 0, true, -1},      {"\xE9l", 0, true, 4},  {"soldier", 7, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(doc.FindRow(c.text, c.start, c.forward), c.row) << c.text << " from " << c.start;
    EXPECT_EQ(EditDocument().FindRow("x", 0), -1);
}

} // namespace
} // namespace orvik::test
