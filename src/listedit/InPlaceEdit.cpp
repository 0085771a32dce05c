#include "listedit/InPlaceEdit.h"

#include <algorithm>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>

#include "listedit/EditListCtrl.h"
#include "listedit/UndoKeys.h"

namespace orvik {

namespace {

bool IsEnterKey(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Keys that belong to the box alone: the dialog must never act on them while a cell is edited
// (Enter would press the default button, Escape would close the dialog).
bool IsBoxKey(const QKeyEvent* event)
{
    const int key = event->key();
    return IsEnterKey(key) || key == Qt::Key_Escape || key == Qt::Key_Delete ||
           (event->modifiers() & Qt::ControlModifier);
}

} // namespace

CInPlaceEdit::CInPlaceEdit(CEditListCtrl* table, int row, int column, const QString& initial)
    : QLineEdit(table->viewport()), m_table(table), m_nRow(row), m_nColumn(column), m_strInitial(initial)
{
    setFont(table->font());
    // The border is drawn by paintEvent: one pixel whatever the style.
    setFrame(false);
    setContentsMargins(1, 1, 1, 1);
    setText(m_strInitial);
    // Every user change counts as typing, also a paste through the context menu.
    connect(this, &QLineEdit::textEdited, this, [this] { Widen(); });
}

bool CInPlaceEdit::event(QEvent* event)
{
    if (event->type() == QEvent::KeyPress && m_table != nullptr && !m_bFinished) {
        auto* key = static_cast<QKeyEvent*>(event);
        const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
        const bool tab = key->key() == Qt::Key_Tab && modifiers == Qt::NoModifier;
        const bool backtab =
            key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && modifiers == Qt::ShiftModifier);
        // Tab and Shift+Tab store and go on to the neighbouring editable cell; past the last
        // one the focus leaves the table as usual (which stores too).
        if ((tab || backtab) && m_table->EditNextCellExists(m_nRow, m_nColumn, tab)) {
            CEditListCtrl* table = m_table;
            const int row = m_nRow;
            const int column = m_nColumn;
            event->accept();
            Finish();
            table->EditNextCell(row, column, tab);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride && IsBoxKey(static_cast<QKeyEvent*>(event))) {
        // Claim the key so that it arrives here as a key press instead of firing a shortcut.
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (const UndoKey which = UndoKeyOf(event); which != UndoKey::None && m_table != nullptr) {
        // The edit ends as a loss of focus would end it, then the table undoes or redoes.
        event->accept();
        CEditListCtrl* table = m_table;
        if (which == UndoKey::Undo)
            table->Undo();
        else
            table->Redo();
        return;
    }
    if (key == Qt::Key_Escape) {
        event->accept();
        Cancel();
        return;
    }
    if (IsEnterKey(key) && (event->modifiers() & Qt::ControlModifier) && m_table != nullptr) {
        // Ctrl+Enter: the text goes into this column of every selected row, as one step; the box
        // itself stores nothing.
        event->accept();
        CEditListCtrl* table = m_table;
        const QString text = this->text();
        const int row = m_nRow;
        const int column = m_nColumn;
        Cancel();
        table->FillSelection(row, column, text);
        return;
    }
    if (IsEnterKey(key)) {
        event->accept();
        Finish();
        return;
    }
    QLineEdit::keyPressEvent(event);
    if (!event->text().isEmpty())
        Widen();
    // Keys the line edit does not use (arrows up and down, page keys) must not move the table's
    // current row under an open box.
    event->accept();
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // The box's own context menu borrows the focus only for a moment.
    if (event->reason() != Qt::PopupFocusReason)
        Finish();
}

void CInPlaceEdit::paintEvent(QPaintEvent* event)
{
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CInPlaceEdit::Widen()
{
    if (m_bFinished)
        return;
    const int textWidth = fontMetrics().horizontalAdvance(text());
    if (textWidth + 5 <= width())
        return;
    const QWidget* area = parentWidget();
    int right = x() + textWidth + 5;
    if (area != nullptr)
        right = std::min(right, area->width());
    // Never narrower: a box already wider than the limit stays as it is.
    if (right - x() > width())
        resize(right - x(), height());
}

void CInPlaceEdit::Cancel()
{
    if (m_bFinished)
        return;
    m_bCancelled = true;
    Finish();
}

// Reports to the table (unless detached), hands the focus back, goes away.
void CInPlaceEdit::Finish()
{
    if (m_bFinished)
        return;
    m_bFinished = true;
    if (m_table != nullptr) {
        CEditListCtrl* table = m_table;
        const QString text = this->text();
        table->EditEnded(this);
        table->OnEndLabelEdit(m_nRow, m_nColumn, m_bCancelled ? nullptr : &text);
        // Enter, Escape and scrolling hand the focus back; a click elsewhere has already moved it.
        if (window()->focusWidget() == this)
            table->setFocus(Qt::OtherFocusReason);
    }
    hide();
    deleteLater();
}

} // namespace orvik
