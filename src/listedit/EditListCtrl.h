#pragma once
// The item table: a report-style list whose cells are edited in place, one at a time.
#include <QPointer>
#include <QTableWidget>

#include "listedit/InPlaceEdit.h"

namespace orvik {

class CLabelEditDelegate;

class CEditListCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CEditListCtrl(QWidget* parent = nullptr);
    ~CEditListCtrl() override;

    // Seven-column set-up helpers used by the dialog. format is the column's text alignment
    // (left, right or centred); the edit box over a cell of the column follows it.
    void InsertColumn(int column, const QString& title, int width, Qt::Alignment format = Qt::AlignLeft);
    void DeleteAllItems();
    // Inserts a row at row (clamped to 0..count) whose column-0 text is text; other cells empty.
    // Returns the new row's index.
    int InsertItem(int row, const QString& text);
    void SetItemText(int row, int column, const QString& text);
    QString GetItemText(int row, int column) const;

    // The row under a viewport point, or -1; *column gets the column (boundaries belong to the
    // column on their left).
    int CellFromPoint(const QPoint& point, int* column = nullptr) const;
    // Opens an edit box over the cell, or returns null when the cell cannot be edited.
    CInPlaceEdit* EditCell(int row, int column);
    // Stores text in the cell unless text is null (a cancelled edit).
    void OnEndLabelEdit(int row, int column, const QString* text);

    // The open edit box, if any (for tests and the dialog).
    CInPlaceEdit* ActiveEdit() const;
    // The table's own editor of a first-column cell, while it is open.
    QWidget* LabelEditor() const;

    // Keeps the horizontal position: moving the current row never scrolls sideways, as in a list.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // A cell's text was stored by an edit (also when it did not change).
    void cellEdited(int row, int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Left and right scroll sideways and Home and End go to the first and last rows, as in a list.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

protected slots:
    // The first column's own editor: a close without a commit is a cancelled edit.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class CInPlaceEdit;

    // Scrolls vertically only, so that the whole row is visible; false for a row that is not there.
    bool EnsureRowVisible(int row);
    // The edit box calls this once, as its edit ends.
    void EditEnded(CInPlaceEdit* edit);

    QPointer<CInPlaceEdit> m_activeEdit;
    CLabelEditDelegate* m_labelDelegate;
};

} // namespace orvik
