#include "ListEditFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

namespace orvik::test {

void ListEditTest::SetUp()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(560, 560);
    m_table = new CEditListCtrl(m_window.get());
    m_table->setGeometry(0, 0, 429, 551);
    m_button = new QPushButton("Other", m_window.get());
    m_button->setGeometry(440, 10, 100, 24);
    const char* titles[] = {"Item", "X Position", "Y Position", "Z Position", "Angle", "ID", "MP Only"};
    for (int c = 0; c < 7; ++c)
        m_table->InsertColumn(c, titles[c], 75);
    std::vector<ItemRow> rows(kRows);
    for (int r = 0; r < kRows; ++r) {
        rows[r][0] = "Item " + std::to_string(r);
        for (int c = 1; c < 7; ++c)
            rows[r][c] = std::to_string(r * 100 + c * 7 - 300);
    }
    LoadRows(m_document, std::move(rows));
    m_table->SetDocument(&m_document);
    m_window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
}

void ListEditTest::TearDown()
{
    m_window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void LoadRows(EditDocument& document, std::vector<ItemRow> rows)
{
    for (int c = 0; c < kColumnCount; ++c)
        document.SetColumnEditable(c, true);
    document.Load(std::move(rows));
}

QPoint ListEditTest::CellPoint(int row, int column) const
{
    return {m_table->columnViewportPosition(column) + m_table->columnWidth(column) / 2,
            m_table->rowViewportPosition(row) + m_table->rowHeight(row) / 2};
}

void ListEditTest::Click(const QPoint& point)
{
    QTest::mouseClick(m_table->viewport(), Qt::LeftButton, Qt::NoModifier, point);
}

CInPlaceEdit* ListEditTest::OpenBox(int row, int column)
{
    if (m_table->currentRow() != row)
        Click(CellPoint(row, column));
    Click(CellPoint(row, column));
    return m_table->ActiveEdit();
}

QRect ListEditTest::ExpectedBox(int row, int column) const
{
    const int cellLeft = column * 75 - m_table->horizontalScrollBar()->value();
    const int right = std::min(cellLeft + 75 + 1, ViewWidth());
    return {cellLeft + 4, m_table->rowViewportPosition(row), right - (cellLeft + 4), m_table->rowHeight(row)};
}

// The table's own first-column editor, once it has the focus.
QLineEdit* OwnEditor(CEditListCtrl* table)
{
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (editor == nullptr || qobject_cast<CInPlaceEdit*>(editor) != nullptr || !table->isAncestorOf(editor))
        return nullptr;
    return editor;
}

QLineEdit* ListEditTest::OpenOwnEditor(int row)
{
    Click(CellPoint(row, 0));
    Click(CellPoint(row, 0));
    return OwnEditor(m_table);
}

void Retype(QLineEdit* editor, const QString& text)
{
    QTest::keyClick(editor, 'A', Qt::ControlModifier);
    QTest::keyClicks(editor, text);
}

} // namespace orvik::test
