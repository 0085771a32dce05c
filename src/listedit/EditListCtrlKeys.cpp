// The item table's keyboard editing, undo and redo, and its context menu.
#include "listedit/EditListCtrl.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include "common/Text.h"
#include "edit/EditDocument.h"
#include "listedit/ItemTableModel.h"
#include "listedit/RowKeys.h"
#include "listedit/UndoKeys.h"

namespace orvik {

bool CEditListCtrl::EditNextCellExists(int row, int column, bool forward) const
{
    return NextEditableCell(row, column, forward).isValid();
}

QModelIndex CEditListCtrl::NextEditableCell(int row, int column, bool forward) const
{
    // Row by row in view order: Tab goes to the row shown below.
    const int columns = columnCount();
    const int rows = rowCount();
    const int view = row < 0 ? -1 : ViewRow(static_cast<std::size_t>(row));
    if (view < 0)
        return {};
    for (int r = view, c = column;;) {
        c += forward ? 1 : -1;
        if (c >= columns) {
            c = 0;
            ++r;
        } else if (c < 0) {
            c = columns - 1;
            --r;
        }
        if (r < 0 || r >= rows)
            return {};
        if (m_model->IsEditable(c) && columnWidth(c) >= kMinEditWidth)
            return m_model->index(r, c);
    }
}

bool CEditListCtrl::EditNextCell(int row, int column, bool forward)
{
    const QModelIndex next = NextEditableCell(row, column, forward);
    if (!next.isValid())
        return false;
    if (next != currentIndex())
        selectionModel()->setCurrentIndex(next, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    return OpenEditor(static_cast<int>(DocumentRow(next.row())), next.column());
}

void CEditListCtrl::Undo()
{
    EndEdit();
    EditDocument* document = Document();
    if (document == nullptr)
        return;
    const auto cells = document->Undo();
    if (!cells.empty())
        ShowCell(static_cast<int>(cells.front().row), cells.front().column);
}

void CEditListCtrl::Redo()
{
    EndEdit();
    EditDocument* document = Document();
    if (document == nullptr)
        return;
    const auto cells = document->Redo();
    if (!cells.empty())
        ShowCell(static_cast<int>(cells.front().row), cells.front().column);
}

QMenu* CEditListCtrl::CreateContextMenu()
{
    auto* menu = new QMenu(this);
    const EditDocument* document = Document();
    const bool rows = document != nullptr && rowCount() > 0;
    const bool selected = rows && selectionModel()->hasSelection();
    const auto add = [menu](const char* text, const QKeySequence& keys, bool enabled, auto handler) {
        QAction* action = menu->addAction(QString::fromLatin1(text), handler);
        action->setShortcut(keys);
        action->setEnabled(enabled);
    };
    add("Copy", CopyKeys(), selected, [this] { CopySelection(); });
    add("Copy Changes", {}, document != nullptr && !document->Saved().Empty(),
        [this] { emit copyChangesRequested(); });
    add("Paste", PasteKeys(), rows, [this] { PasteClipboard(); });
    add("Fill Down", FillDownKeys(), selected && SelectedRows().size() > 1, [this] { FillDown(); });
    add("Move Selection...", MoveSelectionKeys(), selected, [this] { emit moveSelectionRequested(); });
    add("Select All", SelectAllKeys(), rows, [this] { SelectAllRows(); });
    menu->addSeparator();
    QAction* undo = menu->addAction(QString::fromStdString(Cp1252ToUtf8(document ? document->UndoText() : "Undo")),
                                    this, &CEditListCtrl::Undo);
    undo->setShortcuts(UndoSequences());
    undo->setEnabled(document != nullptr && document->CanUndo());
    QAction* redo = menu->addAction(QString::fromStdString(Cp1252ToUtf8(document ? document->RedoText() : "Redo")),
                                    this, &CEditListCtrl::Redo);
    redo->setShortcuts(RedoSequences());
    redo->setEnabled(document != nullptr && document->CanRedo());
    return menu;
}

bool CEditListCtrl::ShowCell(int row, int column)
{
    const int view = row < 0 ? -1 : ViewRow(static_cast<std::size_t>(row));
    if (view < 0 || column < 0 || column >= columnCount())
        return false;
    selectionModel()->setCurrentIndex(m_model->index(view, column),
                                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EnsureRowVisible(view);
    EnsureColumnVisible(column);
    return true;
}

void CEditListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (const UndoKey which = UndoKeyOf(event); which != UndoKey::None) {
        event->accept();
        if (which == UndoKey::Undo)
            Undo();
        else
            Redo();
        return;
    }
    const int key = event->key();
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if ((key == Qt::Key_F2 || enter) && modifiers == Qt::NoModifier && state() != EditingState) {
        const QModelIndex current = currentIndex();
        if (!current.isValid()) {
            // Nothing to edit: Enter keeps its meaning for the dialog.
            event->ignore();
            return;
        }
        event->accept();
        OpenEditor(static_cast<int>(DocumentRow(current.row())), current.column());
        return;
    }
    QTableView::keyPressEvent(event);
    if (key == Qt::Key_Left || key == Qt::Key_Right)
        EnsureColumnVisible(currentIndex().column());
}

void CEditListCtrl::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu* menu = CreateContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace orvik
