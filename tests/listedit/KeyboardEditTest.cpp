// Keyboard editing, undo and redo from the table, shown-only columns and name completion.
#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>

#include "ListEditFixture.h"

namespace orvik::test {
namespace {

class KeyboardEditTest : public ListEditTest {
protected:
    void SetUp() override
    {
        ListEditTest::SetUp();
        // As in the editor: ID and MP Only are shown only.
        m_document.SetColumnEditable(5, false);
        m_document.SetColumnEditable(6, false);
        m_table->setFocus();
    }
    void MakeCurrent(int row, int column)
    {
        m_table->selectionModel()->setCurrentIndex(m_table->model()->index(row, column),
                                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
};

TEST_F(KeyboardEditTest, F2AndEnterOpenTheCurrentCellsEditor)
{
    struct Case {
        Qt::Key key;
        int column;
        enum { kBox, kOwnEditor, kNothing } opens;
    };
    const Case cases[] = {
        {Qt::Key_F2, 3, Case::kBox},         {Qt::Key_Return, 1, Case::kBox},       {Qt::Key_Enter, 4, Case::kBox},
        {Qt::Key_F2, 0, Case::kOwnEditor},   {Qt::Key_Return, 0, Case::kOwnEditor}, {Qt::Key_F2, 5, Case::kNothing},
        {Qt::Key_Return, 6, Case::kNothing},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " on column " << c.column);
        MakeCurrent(7, c.column);
        m_table->setFocus();
        QTest::keyClick(m_table, c.key, c.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        CInPlaceEdit* box = m_table->ActiveEdit();
        EXPECT_EQ(box != nullptr, c.opens == Case::kBox);
        EXPECT_EQ(m_table->LabelEditor() != nullptr, c.opens == Case::kOwnEditor);
        if (box != nullptr) {
            EXPECT_EQ(box->Row(), 7);
            EXPECT_EQ(box->Column(), c.column);
            EXPECT_EQ(box->geometry(), ExpectedBox(7, c.column)); // the same box as a click opens
            EXPECT_EQ(box->selectedText(), m_table->GetItemText(7, c.column));
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (QLineEdit* editor = OwnEditor(m_table)) {
            QTest::keyClick(editor, Qt::Key_Escape);
            EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->LabelEditor() == nullptr; }, 2000));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

TEST_F(KeyboardEditTest, ShownOnlyColumnsNeverOpenAnEditAndKeepTheirText)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    for (int column : {5, 6}) {
        SCOPED_TRACE(column);
        const QString before = m_table->GetItemText(4, column);
        m_table->horizontalScrollBar()->setValue(m_table->horizontalScrollBar()->maximum());
        MakeCurrent(4, 1);
        Click(CellPoint(4, column));
        ASSERT_EQ(m_table->currentRow(), 4);
        EXPECT_EQ(m_table->ActiveEdit(), nullptr);
        EXPECT_EQ(m_table->EditCell(4, column), nullptr);
        EXPECT_FALSE(m_table->model()->flags(m_table->model()->index(4, column)) & Qt::ItemIsEditable);
        const QString text = "99";
        m_table->OnEndLabelEdit(4, column, &text);
        EXPECT_EQ(m_table->GetItemText(4, column), before);
        // They look read-only: drawn in another colour than the editable cells.
        EXPECT_TRUE(m_table->model()->data(m_table->model()->index(4, column), Qt::ForegroundRole).isValid());
        EXPECT_FALSE(m_table->model()->data(m_table->model()->index(4, 1), Qt::ForegroundRole).isValid());
    }
    EXPECT_EQ(edited.size(), 0);
    EXPECT_FALSE(m_document.CanUndo());
}

TEST_F(KeyboardEditTest, TabAndShiftTabStoreAndWalkTheEditableCells)
{
    // From row 2, column 3: typed texts land cell by cell, ID and MP Only are skipped, the walk
    // goes on into the next row's first column and back.
    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row;
        int column;
    };
    const Step steps[] = {
        {Qt::Key_Tab, Qt::NoModifier, 2, 4},        {Qt::Key_Tab, Qt::NoModifier, 3, 0},
        {Qt::Key_Tab, Qt::NoModifier, 3, 1},        {Qt::Key_Tab, Qt::ShiftModifier, 3, 0},
        {Qt::Key_Backtab, Qt::ShiftModifier, 2, 4},
    };
    ASSERT_NE(m_table->EditCell(2, 3), nullptr);
    int row = 2, column = 3;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->selectAll();
            QTest::keyClicks(line, QString("t%1").arg(i));
        }
        QTest::keyClick(editor, steps[i].key, steps[i].modifiers);
        QCoreApplication::processEvents();
        EXPECT_EQ(m_table->GetItemText(row, column), QString("t%1").arg(i));
        row = steps[i].row;
        column = steps[i].column;
        EXPECT_EQ(m_table->currentRow(), row);
        if (column == 0) {
            EXPECT_NE(m_table->LabelEditor(), nullptr);
        } else {
            ASSERT_NE(m_table->ActiveEdit(), nullptr);
            EXPECT_EQ(m_table->ActiveEdit()->Row(), row);
            EXPECT_EQ(m_table->ActiveEdit()->Column(), column);
        }
    }
    // Each stored cell is one step.
    int steps_ = 0;
    while (m_document.CanUndo()) {
        m_document.Undo();
        ++steps_;
    }
    EXPECT_EQ(steps_, 5);
}

TEST_F(KeyboardEditTest, UndoInAnOpenBoxStoresFirstThenUndoesAndShowsTheCell)
{
    ASSERT_TRUE(m_document.SetCell(1, 2, "first"));
    CInPlaceEdit* box = OpenBox(9, 3);
    ASSERT_NE(box, nullptr);
    const QString before = m_table->GetItemText(9, 3);
    QTest::keyClicks(box, "555");

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        QString cell93;
        QString cell12;
        int currentRow;
    };
    const Step steps[] = {
        {Qt::Key_Z, Qt::ControlModifier, before, "first", 9}, // the typed text is stored, then undone
        {Qt::Key_Z, Qt::ControlModifier, before, QString::number(100 + 2 * 7 - 300), 1},
        {Qt::Key_Y, Qt::ControlModifier, before, "first", 1},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, "555", "first", 9},
    };
    QWidget* target = box;
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        SCOPED_TRACE(i);
        QTest::keyClick(target, steps[i].key, steps[i].modifiers);
        target = m_table;
        EXPECT_EQ(m_table->ActiveEdit(), nullptr);
        EXPECT_EQ(m_table->GetItemText(9, 3), steps[i].cell93);
        EXPECT_EQ(m_table->GetItemText(1, 2), steps[i].cell12);
        EXPECT_EQ(m_table->currentRow(), steps[i].currentRow);
        EXPECT_TRUE(m_table->selectionModel()->isRowSelected(steps[i].currentRow, {}));
    }
}

TEST_F(KeyboardEditTest, UndoInTheFirstColumnEditorStoresFirstThenUndoes)
{
    QLineEdit* editor = OpenOwnEditor(4);
    ASSERT_NE(editor, nullptr);
    Retype(editor, "Truck");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->LabelEditor() == nullptr; }, 2000));
    EXPECT_EQ(m_table->GetItemText(4, 0), "Item 4");
    EXPECT_TRUE(m_document.CanRedo());
    EXPECT_EQ(m_document.RedoText(), "Redo Item, row 5");
}

TEST_F(KeyboardEditTest, TheContextMenuNamesTheSteps)
{
    struct Case {
        int edits;
        int undos;
        QString undo;
        bool undoEnabled;
        QString redo;
        bool redoEnabled;
    };
    const Case cases[] = {
        {0, 0, "Undo", false, "Redo", false},
        {1, 0, "Undo X Position, row 1", true, "Redo", false},
        {2, 1, "Undo X Position, row 1", true, "Redo Y Position, row 2", true},
        {1, 1, "Undo", false, "Redo X Position, row 1", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.undo.toStdString());
        for (int i = 0; i < c.edits; ++i)
            m_document.SetCell(static_cast<std::size_t>(i), 1 + i, "e");
        for (int i = 0; i < c.undos; ++i)
            m_table->Undo();
        std::unique_ptr<QMenu> menu(m_table->CreateContextMenu());
        // Undo and Redo end the menu, after the commands over many rows.
        const auto actions = menu->actions().mid(menu->actions().size() - 2);
        ASSERT_EQ(actions.size(), 2);
        EXPECT_EQ(actions[0]->text(), c.undo);
        EXPECT_EQ(actions[0]->isEnabled(), c.undoEnabled);
        EXPECT_EQ(actions[1]->text(), c.redo);
        EXPECT_EQ(actions[1]->isEnabled(), c.redoEnabled);
        while (m_document.CanUndo())
            m_document.Undo();
        m_document.SetClean();
        m_document.Load(m_document.Rows());
    }
}

TEST_F(KeyboardEditTest, TheFirstColumnEditorOffersNamesContainingTheTypedText)
{
    m_table->SetCompletionNames({"Soldier", "Truck", "Army Truck", "Map Center"});
    QLineEdit* editor = OpenOwnEditor(2);
    ASSERT_NE(editor, nullptr);
    QCompleter* completer = editor->completer();
    ASSERT_NE(completer, nullptr);
    struct Case {
        QString typed;
        QStringList offered;
    };
    const Case cases[] = {
        {"tru", {"Truck", "Army Truck"}},
        {"CENT", {"Map Center"}},
        {"r", {"Soldier", "Truck", "Army Truck", "Map Center"}},
        {"boat", {}},
    };
    for (const Case& c : cases) {
        completer->setCompletionPrefix(c.typed);
        QStringList offered;
        for (int i = 0; completer->setCurrentRow(i); ++i)
            offered << completer->currentCompletion();
        EXPECT_EQ(offered, c.offered) << c.typed.toStdString();
    }
    QTest::keyClick(editor, Qt::Key_Escape);
}

} // namespace
} // namespace orvik::test
