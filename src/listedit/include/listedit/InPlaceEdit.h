#pragma once
// The short-lived edit box over one cell of the item table.
#include <QLineEdit>

namespace orvik {

class CEditListCtrl;

// Enter stores, Escape drops, losing the focus stores. The box reports its result to the table
// exactly once and then deletes itself.
class CInPlaceEdit : public QLineEdit {
    Q_OBJECT
public:
    CInPlaceEdit(CEditListCtrl* table, int row, int column, const QString& initial);

    int m_nRow;
    int m_nColumn;
    QString m_strInitial;
    bool m_bCancelled = false;

    bool IsFinished() const { return m_bFinished; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    friend class CEditListCtrl;

    void Widen();
    // Ends the edit: reports to the table (unless detached), hands the focus back, goes away.
    void Finish();

    CEditListCtrl* m_table;
    bool m_bFinished = false;
};

} // namespace orvik
