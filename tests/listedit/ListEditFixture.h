#pragma once
// A window with the item table sized like the editor's and a button beside it.
#include <gtest/gtest.h>
#include <memory>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include "edit/EditDocument.h"
#include "listedit/EditListCtrl.h"

class QLineEdit;

namespace orvik::test {

// Rows of texts for a table of any data: every column may be edited.
void LoadRows(EditDocument& document, std::vector<ItemRow> rows);

class ListEditTest : public ::testing::Test {
protected:
    static constexpr int kRows = 40;

    void SetUp() override;
    void TearDown() override;

    // Centre of a cell, in viewport coordinates.
    QPoint CellPoint(int row, int column) const;
    void Click(const QPoint& point);
    // Clicks on the cell until it is edited: a first click focuses the row, the next edits.
    CInPlaceEdit* OpenBox(int row, int column);
    // Clicks twice on the row's first cell and returns the table's own editor (null when none opened).
    QLineEdit* OpenOwnEditor(int row);
    // Where the box over a cell belongs: 4 px in from the cell's left edge to 1 px past its right.
    QRect ExpectedBox(int row, int column) const;
    int ViewWidth() const { return m_table->viewport()->width(); }

    EditDocument m_document;
    std::unique_ptr<QWidget> m_window;
    CEditListCtrl* m_table = nullptr;
    QPushButton* m_button = nullptr;
};

// The table's own first-column editor, once it has the focus; null otherwise.
QLineEdit* OwnEditor(CEditListCtrl* table);
// Selects the editor's whole text and types text over it.
void Retype(QLineEdit* editor, const QString& text);

} // namespace orvik::test
