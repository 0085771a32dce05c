// Opening, typing into and ending the edit box with the mouse and the keyboard.
#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QSignalSpy>

#include <functional>

#include "ListEditFixture.h"

namespace orvik::test {
namespace {

TEST_F(ListEditTest, FirstClickSelectsAndFocusesTheRowWithoutEditing)
{
    Click(CellPoint(3, 4));
    EXPECT_EQ(m_table->currentRow(), 3);
    EXPECT_TRUE(m_table->selectionModel()->isRowSelected(3, {}));
    EXPECT_EQ(m_table->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);

    // Another row moves the selection; still no edit, because that row did not have the focus.
    Click(CellPoint(5, 2));
    EXPECT_EQ(m_table->currentRow(), 5);
    EXPECT_FALSE(m_table->selectionModel()->isRowSelected(3, {}));
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
}

TEST_F(ListEditTest, ClickOnTheFocusedRowOpensTheBoxOverTheCell)
{
    Click(CellPoint(2, 0)); // any column focuses the row
    CInPlaceEdit* box = OpenBox(2, 3);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Row(), 2);
    EXPECT_EQ(box->Column(), 3);
    EXPECT_EQ(box->parentWidget(), m_table->viewport());
    EXPECT_EQ(box->geometry(), ExpectedBox(2, 3));
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->hasFocus());
    EXPECT_EQ(box->text(), m_table->GetItemText(2, 3));
    EXPECT_EQ(box->selectedText(), m_table->GetItemText(2, 3));
    EXPECT_TRUE(box->alignment() & Qt::AlignLeft);
}

TEST_F(ListEditTest, EnterStoresTypedTextOnceAndReturnsTheFocus)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    QPointer<CInPlaceEdit> box = OpenBox(2, 3);
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "12ab 3");  // stored as typed, letters too
    EXPECT_EQ(box->text(), "12ab 3"); // typing replaced the selected text
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(m_table->GetItemText(2, 3), "12ab 3");
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_TRUE(m_table->hasFocus());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(box);
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0][0].toInt(), 2);
    EXPECT_EQ(edited[0][1].toInt(), 3);

    // The keypad's Enter works the same.
    box = OpenBox(2, 4);
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "-12");
    QTest::keyClick(box, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_table->GetItemText(2, 4), "-12");
    EXPECT_EQ(edited.size(), 2);
}

TEST_F(ListEditTest, EscapeKeepsTheOldText)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    const QString before = m_table->GetItemText(6, 2);
    CInPlaceEdit* box = OpenBox(6, 2);
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "999");
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(m_table->GetItemText(6, 2), before);
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_TRUE(m_table->hasFocus());
    EXPECT_EQ(edited.size(), 0);
}

TEST_F(ListEditTest, ClickOnAnotherCellStores)
{
    CInPlaceEdit* box = OpenBox(4, 1);
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "abc");
    // Another row: the text is stored and that row is only focused.
    Click(CellPoint(8, 5));
    EXPECT_EQ(m_table->GetItemText(4, 1), "abc");
    EXPECT_EQ(m_table->currentRow(), 8);
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);

    // Another cell of the focused row: stored, and the next box opens there.
    box = OpenBox(8, 5);
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "7");
    Click(CellPoint(8, 6));
    EXPECT_EQ(m_table->GetItemText(8, 5), "7");
    ASSERT_NE(m_table->ActiveEdit(), nullptr);
    EXPECT_NE(m_table->ActiveEdit(), box);
    EXPECT_EQ(m_table->ActiveEdit()->Column(), 6);
}

TEST_F(ListEditTest, LosingTheFocusToAnotherControlStoresEvenEmptyText)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    CInPlaceEdit* box = OpenBox(1, 2);
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Backspace); // clears the selected text
    EXPECT_TRUE(box->text().isEmpty());
    QTest::mouseClick(m_button, Qt::LeftButton);
    EXPECT_TRUE(m_button->hasFocus());
    EXPECT_EQ(m_table->GetItemText(1, 2), "");
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_EQ(edited.size(), 1);
}

TEST_F(ListEditTest, TabPastTheLastCellLeavesTheBoxForTheNextControlAndStores)
{
    CInPlaceEdit* box = m_table->EditCell(kRows - 1, 6);
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "45");
    QTest::keyClick(box, Qt::Key_Tab);
    EXPECT_EQ(m_table->GetItemText(kRows - 1, 6), "45");
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_TRUE(m_button->hasFocus());
}

TEST_F(ListEditTest, KeysMoveTheTableOnlyWhenNoBoxIsOpen)
{
    CInPlaceEdit* box = OpenBox(10, 2);
    ASSERT_NE(box, nullptr);
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_PageDown);
    EXPECT_EQ(m_table->currentRow(), 10);
    EXPECT_EQ(m_table->ActiveEdit(), box);

    // Without a box the keys work the table as a list: rows up and down, sideways by scrolling.
    QTest::keyClick(box, Qt::Key_Escape);
    QTest::keyClick(m_table, Qt::Key_Down);
    EXPECT_EQ(m_table->currentRow(), 11);
    // Left and right move the current cell, scrolling sideways to show it.
    QTest::keyClick(m_table, Qt::Key_Right);
    EXPECT_EQ(m_table->currentRow(), 11);
    EXPECT_EQ(m_table->currentIndex().column(), 3);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(m_table, Qt::Key_Right);
    EXPECT_EQ(m_table->currentIndex().column(), 6);
    EXPECT_GT(m_table->horizontalScrollBar()->value(), 0);
    QTest::keyClick(m_table, Qt::Key_Left);
    EXPECT_EQ(m_table->currentIndex().column(), 5);
    QTest::keyClick(m_table, Qt::Key_End);
    EXPECT_EQ(m_table->currentRow(), kRows - 1);
    EXPECT_TRUE(m_table->selectionModel()->isRowSelected(kRows - 1, {}));
}

// However the box ends, it still tells which cell it was over and what the cell held, and whether
// its text was dropped; a detached box reports nothing to the table.
TEST_F(ListEditTest, TheBoxTellsItsCellItsStartTextAndHowItEnded)
{
    struct Case {
        const char* how;
        std::function<void(CInPlaceEdit*)> end;
        bool cancelled;
        bool stored;
    };
    const Case cases[] = {
        {"Enter", [](CInPlaceEdit* b) { QTest::keyClick(b, Qt::Key_Return); }, false, true},
        {"Escape", [](CInPlaceEdit* b) { QTest::keyClick(b, Qt::Key_Escape); }, true, false},
        {"the table ends it", [this](CInPlaceEdit*) { m_table->EndEdit(); }, false, true},
        {"Finish", [](CInPlaceEdit* b) { b->Finish(); }, false, true},
        {"Cancel", [](CInPlaceEdit* b) { b->Cancel(); }, true, false},
        {"Cancel after Finish",
         [](CInPlaceEdit* b) {
             b->Finish();
             b->Cancel();
         },
         false, true},
        {"Detach, then Finish",
         [](CInPlaceEdit* b) {
             b->Detach();
             b->Finish();
         },
         false, false},
    };
    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        ++row;
        const QString before = m_table->GetItemText(row, 2);
        QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
        QPointer<CInPlaceEdit> box = OpenBox(row, 2);
        ASSERT_TRUE(box);
        EXPECT_EQ(box->Row(), row);
        EXPECT_EQ(box->Column(), 2);
        QTest::keyClicks(box, "x55");
        EXPECT_EQ(box->InitialText(), before);
        EXPECT_FALSE(box->IsCancelled());
        EXPECT_FALSE(box->IsFinished());

        c.end(box);
        ASSERT_TRUE(box); // deleted only once the event loop runs
        EXPECT_TRUE(box->IsFinished());
        EXPECT_EQ(box->IsCancelled(), c.cancelled);
        EXPECT_EQ(box->InitialText(), before);
        EXPECT_EQ(m_table->ActiveEdit(), nullptr);
        EXPECT_EQ(m_table->GetItemText(row, 2), c.stored ? QString("x55") : before);
        EXPECT_EQ(edited.size(), c.stored ? 1 : 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(box);
    }
}

TEST_F(ListEditTest, ClearingOrDestroyingTheTableWithAnOpenBoxIsSafe)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    CInPlaceEdit* box = OpenBox(3, 3);
    ASSERT_NE(box, nullptr);
    QTest::keyClicks(box, "lost");
    m_document.Clear();
    EXPECT_EQ(m_table->rowCount(), 0);
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_EQ(edited.size(), 0);

    m_document.Load({{"Tent", "5"}});
    EXPECT_EQ(m_table->GetItemText(0, 1), "5");
    ASSERT_NE(OpenBox(0, 1), nullptr);
    delete m_table;
    m_table = nullptr;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
} // namespace orvik::test
