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

    // The cell under the box.
    int Row() const { return m_nRow; }
    int Column() const { return m_nColumn; }
    // The cell's text when the box opened.
    const QString& InitialText() const { return m_strInitial; }
    // Escape, or the table's cancel, ended or is ending the edit: the text will not be stored.
    bool IsCancelled() const { return m_bCancelled; }
    bool IsFinished() const { return m_bFinished; }

    // Ends the edit, storing the text as Enter does.
    void Finish();
    // Ends the edit without storing, as Escape does.
    void Cancel();
    // Cuts the box off from its table, which is going away: it reports nothing when it ends.
    void Detach() { m_table = nullptr; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void Widen();

    CEditListCtrl* m_table;
    int m_nRow;
    int m_nColumn;
    QString m_strInitial;
    bool m_bCancelled = false;
    bool m_bFinished = false;
};

} // namespace orvik
