// The first column is edited by the table's own editor, whose result takes the same road.
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>

#include "ListEditFixture.h"

namespace orvik::test {
namespace {

TEST_F(ListEditTest, FirstColumnClickOnTheFocusedRowStartsTheTablesOwnEditor)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    Click(CellPoint(4, 0));
    EXPECT_EQ(m_table->LabelEditor(), nullptr); // the first click only focuses
    Click(CellPoint(4, 0));
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_NE(m_table->LabelEditor(), nullptr);
    QLineEdit* editor = OwnEditor(m_table);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, 'A', Qt::ControlModifier);
    QTest::keyClicks(editor, "Truck");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->GetItemText(4, 0) == QString("Truck"); }, 2000))
        << m_table->GetItemText(4, 0).toStdString();
    EXPECT_EQ(m_table->LabelEditor(), nullptr);
    ASSERT_EQ(edited.size(), 1);
    EXPECT_EQ(edited[0][0].toInt(), 4);
    EXPECT_EQ(edited[0][1].toInt(), 0);
    EXPECT_EQ(m_table->currentRow(), 4);
    EXPECT_TRUE(m_table->selectionModel()->isRowSelected(4, {}));
}

TEST_F(ListEditTest, FirstColumnEscapeLeavesTheCell)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    QLineEdit* editor = OpenOwnEditor(7);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "Junk");
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->LabelEditor() == nullptr; }, 2000));
    EXPECT_EQ(m_table->GetItemText(7, 0), "Item 7");
    EXPECT_EQ(edited.size(), 0);
}

TEST_F(ListEditTest, FirstColumnEditorStoresWhenTheFocusMovesOn)
{
    QSignalSpy edited(m_table, &CEditListCtrl::cellEdited);
    QLineEdit* editor = OpenOwnEditor(2);
    ASSERT_NE(editor, nullptr);
    Retype(editor, "Tower");
    // A click on another cell of the row ends it and opens the edit box there.
    Click(CellPoint(2, 3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return m_table->GetItemText(2, 0) == QString("Tower"); }, 2000))
        << m_table->GetItemText(2, 0).toStdString();
    EXPECT_EQ(edited.size(), 1);
    ASSERT_NE(m_table->ActiveEdit(), nullptr);
    EXPECT_EQ(m_table->ActiveEdit()->Column(), 3);
}

} // namespace
} // namespace orvik::test
