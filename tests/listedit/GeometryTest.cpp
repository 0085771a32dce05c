// Where clicks land, where the box goes, and how the table scrolls for it.
#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>

#include "ListEditFixture.h"

namespace orvik::test {
namespace {

TEST_F(ListEditTest, ColumnBoundariesBelongToTheLeftColumn)
{
    const int y = CellPoint(2, 0).y();
    int column = -1;
    EXPECT_EQ(m_table->CellFromPoint({0, y}, &column), 2);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(m_table->CellFromPoint({75, y}, &column), 2);
    EXPECT_EQ(column, 0);
    EXPECT_EQ(m_table->CellFromPoint({76, y}, &column), 2);
    EXPECT_EQ(column, 1);
    EXPECT_EQ(m_table->CellFromPoint({224, y}, &column), 2);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(m_table->CellFromPoint({225, y}, &column), 2);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(m_table->CellFromPoint({226, y}, &column), 2);
    EXPECT_EQ(column, 3);

    // The boundaries move with the horizontal scroll position.
    m_table->horizontalScrollBar()->setValue(30);
    EXPECT_EQ(m_table->CellFromPoint({195, y}, &column), 2);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(m_table->CellFromPoint({196, y}, &column), 2);
    EXPECT_EQ(column, 3);
}

TEST_F(ListEditTest, ClickOnTheBoundaryEditsTheLeftColumn)
{
    const QPoint boundary(225, CellPoint(5, 0).y());
    Click(boundary);
    Click(boundary);
    ASSERT_NE(m_table->ActiveEdit(), nullptr);
    EXPECT_EQ(m_table->ActiveEdit()->Column(), 2);
    EXPECT_EQ(m_table->ActiveEdit()->geometry(), ExpectedBox(5, 2));
}

TEST(CellFromPointTest, PointsOutsideTheRowsOrColumnsHitNothing)
{
    QWidget window;
    window.resize(400, 300);
    auto* table = new CEditListCtrl(&window);
    table->setGeometry(0, 0, 400, 300);
    for (int c = 0; c < 3; ++c)
        table->InsertColumn(c, QString("C%1").arg(c), 40);
    EditDocument document;
    LoadRows(document, {{"Row"}, {"Row"}, {"Row"}});
    table->SetDocument(&document);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const int y = table->rowViewportPosition(1) + 1;
    int column = 7;
    EXPECT_EQ(table->CellFromPoint({119, y}, &column), 1);
    EXPECT_EQ(column, 2);
    EXPECT_EQ(table->CellFromPoint({121, y}, &column), -1); // right of the last column
    EXPECT_EQ(column, 0);
    const int belowRows = table->rowViewportPosition(2) + table->rowHeight(2) + 2;
    EXPECT_EQ(table->CellFromPoint({10, belowRows}, &column), -1);
    EXPECT_EQ(table->CellFromPoint({10, -3}, &column), -1);

    // A click there on the focused row edits nothing.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, {100, y});
    ASSERT_EQ(table->currentRow(), 1);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, {200, y});
    EXPECT_EQ(table->ActiveEdit(), nullptr);
    table->SetDocument(nullptr);
}

TEST_F(ListEditTest, CellsThatCannotBeEditedOpenNothing)
{
    EXPECT_EQ(m_table->EditCell(-1, 1), nullptr);
    EXPECT_EQ(m_table->EditCell(kRows, 1), nullptr);
    EXPECT_EQ(m_table->EditCell(0, 7), nullptr);
    EXPECT_EQ(m_table->EditCell(0, -1), nullptr);
    m_table->setColumnWidth(3, 4);
    EXPECT_EQ(m_table->EditCell(0, 3), nullptr);
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    m_table->setColumnWidth(3, 5);
    EXPECT_NE(m_table->EditCell(0, 3), nullptr);
}

TEST_F(ListEditTest, TypingWidensTheBoxUpToTheRightEdgeAndNeverNarrows)
{
    CInPlaceEdit* box = OpenBox(3, 4);
    ASSERT_NE(box, nullptr);
    const QRect start = box->geometry();
    const QFontMetrics metrics(m_table->font());
    int widest = start.width();
    QString typed;
    while (box->geometry().right() + 1 < ViewWidth()) {
        ASSERT_LT(typed.size(), 200) << "the box never reached the right edge";
        QTest::keyClick(box, 'W');
        typed += 'W';
        const int want = std::min(start.left() + metrics.horizontalAdvance(typed) + 5, ViewWidth()) - start.left();
        widest = std::max(widest, want);
        ASSERT_EQ(box->width(), widest) << typed.toStdString();
        EXPECT_EQ(box->x(), start.x());
        EXPECT_EQ(box->y(), start.y());
        EXPECT_EQ(box->height(), start.height());
    }
    EXPECT_GT(box->width(), start.width());
    EXPECT_EQ(box->geometry().right() + 1, ViewWidth());
    QTest::keyClicks(box, "WWWW");
    EXPECT_EQ(box->geometry().right() + 1, ViewWidth());
    for (int i = 0; i < typed.size() + 4; ++i)
        QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_TRUE(box->text().isEmpty());
    EXPECT_EQ(box->geometry().right() + 1, ViewWidth());
}

TEST_F(ListEditTest, ScrollingWithTheScrollBarStoresTheOpenEditFirst)
{
    QPointer<CInPlaceEdit> box = OpenBox(1, 2);
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "77");
    QScrollBar* bar = m_table->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    // A click on the bar's trough below the handle pages down; the bar never takes the focus.
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, {bar->width() / 2, bar->height() - 30});
    EXPECT_GT(bar->value(), 0);
    EXPECT_EQ(m_table->GetItemText(1, 2), "77");
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
    EXPECT_TRUE(!box || !box->isVisible());
    EXPECT_TRUE(m_table->hasFocus());

    box = OpenBox(bar->value() + 1, 5);
    ASSERT_TRUE(box);
    QTest::keyClicks(box, "8");
    m_table->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_table->GetItemText(bar->value() + 1, 5), "8");
    EXPECT_EQ(m_table->ActiveEdit(), nullptr);
}

TEST_F(ListEditTest, EditingARowOutOfViewScrollsItIntoView)
{
    const int viewHeight = m_table->viewport()->height();
    const int rowHeight = m_table->rowHeight(0);
    if (viewHeight % rowHeight == 0)
        m_table->resize(m_table->width(), m_table->height() - rowHeight / 2);
    const int partly = m_table->rowAt(m_table->viewport()->height() - 1);
    ASSERT_GE(partly, 0);
    ASSERT_GT(m_table->rowViewportPosition(partly) + rowHeight, m_table->viewport()->height());

    CInPlaceEdit* box = m_table->EditCell(partly, 2);
    ASSERT_NE(box, nullptr);
    EXPECT_GE(m_table->rowViewportPosition(partly), 0);
    EXPECT_LE(m_table->rowViewportPosition(partly) + rowHeight, m_table->viewport()->height());
    EXPECT_EQ(box->geometry(), ExpectedBox(partly, 2));
    QTest::keyClick(box, Qt::Key_Escape);

    // A row above the view comes back to its top.
    m_table->verticalScrollBar()->setValue(20);
    box = m_table->EditCell(3, 1);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(m_table->rowViewportPosition(3), 0);
    EXPECT_EQ(box->geometry(), ExpectedBox(3, 1));
}

TEST_F(ListEditTest, ACellStartingOutOfViewIsBroughtToTheLeftEdge)
{
    QScrollBar* bar = m_table->horizontalScrollBar();
    ASSERT_GE(bar->maximum(), 100);
    bar->setValue(100); // column 1 now starts 25 px left of the view
    const QPoint visiblePart(10, CellPoint(6, 1).y());
    Click(visiblePart);
    EXPECT_EQ(bar->value(), 100); // focusing a row does not scroll sideways
    Click(visiblePart);
    CInPlaceEdit* box = m_table->ActiveEdit();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->Column(), 1);
    EXPECT_EQ(bar->value(), 75);
    EXPECT_EQ(box->geometry(), QRect(4, m_table->rowViewportPosition(6), 72, m_table->rowHeight(6)));
    QTest::keyClick(box, Qt::Key_Escape);

    // A cell right of the view: as far as the bar goes, and the box still sits on the cell.
    bar->setValue(0);
    box = m_table->EditCell(6, 6);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(bar->value(), bar->maximum());
    EXPECT_EQ(box->geometry(), ExpectedBox(6, 6));
    EXPECT_LE(box->geometry().right() + 1, ViewWidth());
}

} // namespace
} // namespace orvik::test
