// Many items at once in the dialog: selecting rows in the table and with a band on the map, the
// clipboard both ways, refused pastes, fill, arrow-key moves and Move Selection, each one undo step.
#include "gui/EditorFixture.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace orvik::test {
namespace {

constexpr Rgb kWhite{255, 255, 255};
using Rows = std::vector<std::size_t>;

class ManyItems : public EditorTest {
protected:
    void StartAlpha()
    {
        StartActive(0);
        m_loaded = m_dialog->Document().Rows();
    }
    void ClickCell(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        const QPoint point(Table()->columnViewportPosition(column) + 30,
                           Table()->rowViewportPosition(row) + Table()->rowHeight(row) / 2);
        QTest::mouseClick(Table()->viewport(), Qt::LeftButton, modifiers, point);
    }
    // Row first then last selected, the current cell in column.
    void SelectRange(int first, int last, int column = 0)
    {
        ClickCell(first, column);
        if (last != first)
            ClickCell(last, column, Qt::ShiftModifier);
    }
    // The rows clicked, the first plainly, the others with Ctrl; the last one is current.
    void Select(const Rows& rows, int column = 0)
    {
        ClickCell(static_cast<int>(rows.front()), column);
        for (std::size_t k = 1; k < rows.size(); ++k)
            ClickCell(static_cast<int>(rows[k]), column, Qt::ControlModifier);
    }
    QString Status() const { return m_dialog->findChild<QLabel*>("status")->text(); }
    FramePoint Marker(std::size_t row) const
    {
        const auto& item = m_game->Alpha().items[row];
        return FrameOf(item.m_nX, item.m_nY, CenterX(), CenterY());
    }
    // A left drag on the map between frame pixels with the keys given.
    void Band(FramePoint from, FramePoint to, Qt::KeyboardModifiers modifiers)
    {
        QTest::mousePress(Map(), Qt::LeftButton, modifiers, QPoint(from.x + 1, from.y + 1));
        for (int step = 1; step <= 4; ++step)
            QTest::mouseMove(Map(),
                             QPoint(from.x + 1 + (to.x - from.x) * step / 4, from.y + 1 + (to.y - from.y) * step / 4));
        QTest::mouseRelease(Map(), Qt::LeftButton, modifiers, QPoint(to.x + 1, to.y + 1));
    }
    QString Cell(int row, int column) const { return Table()->GetItemText(row, column); }
    // A cell as loaded, as a number.
    int Loaded(std::size_t row, int column) const { return std::stoi(m_loaded[row][static_cast<std::size_t>(column)]); }
    // Undoes every step, checking that it took count steps and brought back the loaded rows.
    void UndoAll(std::size_t count)
    {
        std::size_t steps = 0;
        for (; m_dialog->Document().CanUndo(); ++steps)
            m_dialog->OnUndo();
        EXPECT_EQ(steps, count);
        EXPECT_EQ(m_dialog->Document().Rows(), m_loaded);
    }

    std::vector<ItemRow> m_loaded;
};

TEST_F(ManyItems, ShiftCtrlAndKeysSelectRowsWithoutOpeningAnEdit)
{
    StartAlpha();
    struct Step {
        const char* what;
        std::function<void()> act;
        Rows rows;
    };
    const Step steps[] = {
        {"a click", [&] { ClickCell(1, 1); }, {1}},
        {"Shift+click, a range", [&] { ClickCell(3, 2, Qt::ShiftModifier); }, {1, 2, 3}},
        {"Ctrl+click adds", [&] { ClickCell(5, 2, Qt::ControlModifier); }, {1, 2, 3, 5}},
        {"Ctrl+click on the focused row removes it", [&] { ClickCell(5, 2, Qt::ControlModifier); }, {1, 2, 3}},
        {"Shift+Down extends from there",
         [&] { QTest::keyClick(Table(), Qt::Key_Down, Qt::ShiftModifier); },
         {1, 2, 3, 5, 6}},
        {"Ctrl+A", [&] { QTest::keyClick(Table(), Qt::Key_A, Qt::ControlModifier); }, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(Table()->SelectedRows(), s.rows);
        EXPECT_EQ(Map()->View().Selection(), s.rows);
        EXPECT_EQ(Status(), QStringLiteral("%1 selected").arg(s.rows.size()));
        EXPECT_EQ(Table()->ActiveEdit(), nullptr);
    }
    EXPECT_EQ(FramePixel({Marker(3).x + 5, Marker(3).y}), kWhite); // every selected marker is ringed
    // Another mission: nothing is selected.
    Choose(1);
    EXPECT_EQ(Status(), "");
}

TEST_F(ManyItems, AShiftDragOnTheMapSelectsTheMarkersInsideAndCtrlAdds)
{
    StartAlpha();
    const int cx = CenterX(), cy = CenterY();
    // Round the soldier (row 0) and the truck (row 3), from open ground.
    const FramePoint soldier = Marker(0), truck = Marker(3), bunker = Marker(4);
    Band({soldier.x - 6, soldier.y - 6}, {truck.x + 6, truck.y + 6}, Qt::ShiftModifier);
    EXPECT_EQ(Table()->SelectedRows(), (Rows{0, 3}));
    EXPECT_EQ(Status(), "2 selected");
    EXPECT_EQ(FramePixel({truck.x + 5, truck.y}), kWhite);
    Band({bunker.x + 8, bunker.y + 8}, {bunker.x - 8, bunker.y - 8}, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(Table()->SelectedRows(), (Rows{0, 3, 4}));
    EXPECT_EQ(CenterX(), cx); // a band is no click and no pan
    EXPECT_EQ(CenterY(), cy);
    EXPECT_FALSE(m_dialog->Document().CanUndo());
}

TEST_F(ManyItems, CopiedRowsPasteBackIntoOtherRowsAndFromCsv)
{
    StartAlpha();
    SelectRange(2, 3);
    QTest::keyClick(Table(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith("Item\tX Position\tY Position\tZ Position\tAngle\tID\tMP Only\nTree\t"));
    EXPECT_EQ(copied.count('\n'), 3);

    ClickCell(5, 0);
    QTest::keyClick(Table(), Qt::Key_V, Qt::ControlModifier);
    for (int column = 0; column < 5; ++column) {
        EXPECT_EQ(Cell(5, column), Cell(2, column));
        EXPECT_EQ(Cell(6, column), Cell(3, column));
    }
    EXPECT_EQ(Cell(5, 5), "16"); // the ID stays
    EXPECT_EQ(m_dialog->Document().UndoText(), "Undo Paste, 2 rows");

    QApplication::clipboard()->setText("Item,Angle\n\"Map Center\",\"270\"\n\"Crate, \"\"big\"\"\",90\n");
    ClickCell(0, 0);
    QTest::keyClick(Table(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(0, 0), "Map Center");
    EXPECT_EQ(Cell(0, 4), "270");
    EXPECT_EQ(Cell(1, 0), "Crate, \"big\"");
    EXPECT_TRUE(m_prompts.calls.empty());
    UndoAll(2);
}

TEST_F(ManyItems, ARefusedPasteSaysWhyAndChangesNothing)
{
    struct Case {
        const char* text;
        Rows selected; // the last one is current
        int column;
        const char* says;
    };
    const Case cases[] = {
        {"Item\tAngle\nTree\t1\nTree\t2\n", {8}, 0, "would pass the last row"},
        {"1\n2\n", {8}, 1, "would pass the last row"},
        {"Item\tColour\nTruck\tred\n", {0}, 0, "names the column \"Colour\""},
        {"1\t2\n", {0}, 4, "would cover the ID column"},
        {"Y\n", {0}, 6, "would cover the MP Only column"},
        {"Angle\n1\n2\n", {1, 2, 3}, 0, "holds 2 rows, but 3 rows are selected"},
    };
    StartAlpha();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        Select(c.selected, c.column);
        m_prompts.Clear();
        QApplication::clipboard()->setText(c.text);
        m_dialog->OnPaste();
        ASSERT_EQ(m_prompts.Texts(PromptCall::Kind::Message).size(), 1u);
        EXPECT_TRUE(m_prompts.Texts(PromptCall::Kind::Message)[0].contains(c.says))
            << m_prompts.Texts(PromptCall::Kind::Message)[0].toStdString();
        EXPECT_EQ(m_dialog->Document().Rows(), m_loaded);
        EXPECT_FALSE(m_dialog->Document().CanUndo());
    }
}

TEST_F(ManyItems, CtrlEnterAndFillDownFillTheSelectedRows)
{
    StartAlpha();
    SelectRange(2, 4, 4);
    ClickCell(4, 4); // the focused row: its Angle cell opens, the selection stays
    ASSERT_NE(Table()->ActiveEdit(), nullptr);
    QTest::keyClicks(Table()->ActiveEdit(), "135");
    QTest::keyClick(Table()->ActiveEdit(), Qt::Key_Return, Qt::ControlModifier);
    for (int row = 0; row < 9; ++row)
        EXPECT_EQ(Cell(row, 4).toInt(), row >= 2 && row <= 4 ? 135 : Loaded(static_cast<std::size_t>(row), 4)) << row;
    EXPECT_EQ(m_dialog->Document().UndoText(), "Undo Fill, 3 rows");
    // The first column's own editor fills the same way.
    ClickCell(4, 0);
    auto* names = qobject_cast<QLineEdit*>(Table()->LabelEditor());
    ASSERT_NE(names, nullptr);
    names->selectAll();
    QTest::keyClicks(names, "Soldier");
    QTest::keyClick(names, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(Table()->LabelEditor(), nullptr);
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(Cell(row, 0) == "Soldier", row >= 2 && row <= 4) << row;

    // Fill Down from the context menu, which lists the commands with their keys.
    SelectRange(5, 7, 1);
    std::unique_ptr<QMenu> menu(Table()->CreateContextMenu());
    QStringList items;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            items << action->text() + " " + action->shortcut().toString();
    EXPECT_EQ(items, (QStringList{"Copy Ctrl+C", "Copy Changes ", "Paste Ctrl+V", "Fill Down Ctrl+D",
                                  "Move Selection... Ctrl+M", "Select All Ctrl+A", "Undo Fill, 3 rows Ctrl+Z",
                                  "Redo Ctrl+Y"}));
    menu->actions()[3]->trigger();
    EXPECT_EQ(Cell(6, 1), Cell(5, 1));
    EXPECT_EQ(Cell(7, 1), Cell(5, 1));
    EXPECT_EQ(m_dialog->Document().UndoText(), "Undo Fill, 2 rows");
    UndoAll(3);
}

TEST_F(ManyItems, ArrowKeysMoveTheSelectionAsOneUndoStep)
{
    StartAlpha();
    Select({0, 3});
    Map()->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(Map(), Qt::Key_Right);
    QTest::keyClick(Map(), Qt::Key_Up, Qt::ShiftModifier);
    // Zoomed to 2x a pixel is half a map pixel.
    QTest::keyClick(Map(), Qt::Key_Plus);
    QTest::keyClick(Map(), Qt::Key_Left);
    for (std::size_t row : {0u, 3u}) {
        EXPECT_EQ(Cell(static_cast<int>(row), 1).toInt(), Loaded(row, 1) + 3 * kUnit - kUnit / 2);
        EXPECT_EQ(Cell(static_cast<int>(row), 2).toInt(), Loaded(row, 2) + 10 * kUnit);
    }
    EXPECT_EQ(Cell(1, 1).toInt(), Loaded(1, 1));
    EXPECT_EQ(m_dialog->Document().UndoText(), "Undo Move, 2 items");
    UndoAll(1);
}

TEST_F(ManyItems, MoveSelectionAsksForOffsetsAndNamesClampedRows)
{
    StartAlpha();
    Select({0, 3});
    m_prompts.moveAnswer.reset(); // cancelled: nothing moves
    QTest::keyClick(Table(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(m_prompts.Texts(PromptCall::Kind::MoveOffset).size(), 1u);
    EXPECT_TRUE(m_prompts.Texts(PromptCall::Kind::MoveOffset)[0].startsWith("Move 2 items by"));
    EXPECT_FALSE(m_dialog->Document().CanUndo());

    m_prompts.moveAnswer = MoveOffset{500, -20, 7};
    m_dialog->OnMoveSelection();
    EXPECT_EQ(Cell(3, 1).toInt(), Loaded(3, 1) + 500);
    EXPECT_EQ(Cell(3, 2).toInt(), Loaded(3, 2) - 20);
    EXPECT_EQ(Cell(3, 3).toInt(), Loaded(3, 3) + 7);
    EXPECT_EQ(m_dialog->Document().UndoText(), "Undo Move, 2 items");

    // Far past the edge: clamped; a cell without a number stays as it is.
    Edit(3, 3, "high");
    m_prompts.moveAnswer = MoveOffset{std::int64_t{1} << 40, 0, 1};
    m_dialog->OnMoveSelection();
    EXPECT_EQ(Cell(0, 1), "2147483647");
    EXPECT_EQ(Cell(3, 3), "high");
    EXPECT_EQ(m_prompts.Texts(PromptCall::Kind::Message),
              (std::vector<QString>{"Rows 1 and 4 were moved only as far as the 32-bit range allows."}));
    UndoAll(3);
}

} // namespace
} // namespace orvik::test
