#pragma once
// The item table: a report-style list whose cells are edited in place, one at a time.
#include <QLineEdit>
#include <QPointer>
#include <QTableWidget>

namespace orvik {

class CInPlaceEdit;

class CEditListCtrl : public QTableWidget {
    Q_OBJECT
public:
    explicit CEditListCtrl(QWidget* parent = nullptr);
    ~CEditListCtrl() override;

    // Seven-column set-up helpers used by the dialog.
    void InsertColumn(int column, const QString& title, int width);
    void DeleteAllItems();
    // Appends (or inserts at row) a row whose column-0 text is text; other cells empty.
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

signals:
    // A cell's text was stored by an edit (also when it did not change).
    void cellEdited(int row, int column);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    QPointer<CInPlaceEdit> m_activeEdit;
};

// The short-lived edit box over one cell. Enter stores, Escape drops, losing the focus stores.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    CInPlaceEdit(CEditListCtrl* table, int row, int column, const QString& initial);

    int m_nRow;
    int m_nColumn;
    QString m_strInitial;
    bool m_bCancelled = false;

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void Widen();
    void Finish();

    CEditListCtrl* m_table;
    bool m_bFinished = false;
};

} // namespace orvik
