#pragma once
// The item table: a report-style view of the edit document whose cells are edited in place, one
// at a time, with the mouse or the keyboard. Rows are selected one or many at a time (Shift, Ctrl)
// for the commands over many rows: copy, paste and fill. A click on a column's title sorts by it
// (again: reversed, a third time: file order), and a filter may hide rows. Every row number this
// class takes or gives is a document row; view positions stay inside.
#include <QPointer>
#include <QStringList>
#include <QTableView>

#include <functional>
#include <string>
#include <vector>

#include "listedit/InPlaceEdit.h"
#include "listedit/ItemTableModel.h"

class QMenu;

namespace orvik {

class ItemTableModel;
class LabelEditDelegate;
class EditDocument;

class CEditListCtrl : public QTableView {
    Q_OBJECT
public:
    // Columns narrower than this cannot hold an edit box.
    static constexpr int kMinEditWidth = 5;

    explicit CEditListCtrl(QWidget* parent = nullptr);
    ~CEditListCtrl() override;

    // The document shown (not owned); null shows an empty table.
    void SetDocument(EditDocument* document);
    EditDocument* Document() const;
    ItemTableModel* TableModel() const { return m_model; }

    // Seven-column set-up helper used by the dialog. format is the column's text alignment
    // (left, right or centred); the edit box over a cell of the column follows it.
    void InsertColumn(int column, const QString& title, int width, Qt::Alignment format = Qt::AlignLeft);
    int columnCount() const;
    // The rows shown (the filter's), and the current row (a document row, or -1).
    int rowCount() const;
    int currentRow() const;
    QString GetItemText(int row, int column) const;

    // The names the first column's editor offers while the user types.
    void SetCompletionNames(const QStringList& names);

    // The row under a viewport point, or -1; *column gets the column (boundaries belong to the
    // column on their left).
    int CellFromPoint(const QPoint& point, int* column = nullptr) const;
    // Opens an edit box over the cell, or returns null when the cell cannot be edited.
    CInPlaceEdit* EditCell(int row, int column);
    // Stores text in the cell unless text is null (a cancelled edit) or the cell is shown only.
    void OnEndLabelEdit(int row, int column, const QString* text);
    // Ends an open edit as a loss of focus does (its text is stored).
    void EndEdit();
    // Opens the next (or previous) editable cell after (row, column), row by row; false when there
    // is none.
    bool EditNextCell(int row, int column, bool forward);
    bool EditNextCellExists(int row, int column, bool forward) const;

    // End an open edit as a loss of focus does, then undo or redo one step and show its cell.
    void Undo();
    void Redo();
    // The context menu: Copy, Paste, Fill Down, Move Selection, Select All, then Undo and Redo with
    // the steps' texts. The caller owns it.
    QMenu* CreateContextMenu();

    // The selected rows, ascending.
    std::vector<std::size_t> SelectedRows() const;
    // Commands over many rows, each one step of the document; a refusal is told by refused().
    // Copy puts the selected rows on the clipboard as `orvik items` prints them; Paste takes the
    // clipboard's (or text's) rows into the selected rows or from the current cell.
    void CopySelection();
    void PasteClipboard();
    void Paste(const QString& text);
    // The first selected row's current cell into the other selected rows.
    void FillDown();
    // text into the column of row and of every selected row (Ctrl+Enter in an edit box).
    void FillSelection(int row, int column, const QString& text);
    void SelectAllRows();
    // Makes the cell current (its row selected) and scrolls it into view; false for a hidden row.
    bool ShowCell(int row, int column);

    // The sort and the filter. keep chooses the rows shown (empty: every row); it is asked only
    // here and at a sort, never on an edit. The selection and the current cell stay on the rows
    // still shown.
    using SortOrder = ItemTableModel::SortOrder;
    void SortBy(int column, SortOrder order);
    void SetRowFilter(std::function<bool(std::size_t)> keep);
    // A click on a title: ascending, then descending, then file order; another column starts over.
    void CycleSort(int column);
    // The view position of a document row (-1: hidden), and the document row at a view position.
    int ViewRow(std::size_t row) const { return m_model->ViewRow(row); }
    std::size_t DocumentRow(int viewRow) const { return m_model->DocumentRow(viewRow); }
    // The document row shown at a view position after row, or before it; -1 when there is none.
    int ShownRowAfter(int row, bool forward) const;
    // Selects these document rows (those shown), replacing the selection or adding to it.
    void SelectDocumentRows(const std::vector<std::size_t>& rows, bool add);

    // The open edit box, if any (for tests and the dialog).
    CInPlaceEdit* ActiveEdit() const;
    // The table's own editor of a first-column cell, while it is open.
    QWidget* LabelEditor() const;

    // Keeps the horizontal position: moving the current row never scrolls sideways, as in a list.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

signals:
    // The rows shown or their order changed (a sort, a filter or a load).
    void viewChanged();
    // A cell's text was stored by an edit (also when it did not change).
    void cellEdited(int row, int column);
    // A command over many rows was refused; nothing changed.
    void refused(const QString& message);
    // Move Selection was chosen in the context menu: the dialog asks for the offsets.
    void moveSelectionRequested();
    // Copy Changes was chosen: the dialog, which knows the mission, puts them on the clipboard.
    void copyChangesRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // A plain click on the focused row keeps a selection of many rows (the edit box may fill them).
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    // Home and End go to the first and last rows, as in a list.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;

protected slots:
    // The first column's own editor: a close without a commit is a cancelled edit; Tab goes on
    // to the next editable cell.
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    friend class CInPlaceEdit;

    // Opens whichever editor belongs to the cell: the table's own for the first column.
    bool OpenEditor(int row, int column);
    QModelIndex NextEditableCell(int row, int column, bool forward) const;
    // Scrolls vertically only, so that the whole row is visible; false for a row that is not there.
    bool EnsureRowVisible(int row);
    // Scrolls sideways only as far as needed to show the column.
    void EnsureColumnVisible(int column);
    // The edit box calls this once, as its edit ends.
    void EditEnded(CInPlaceEdit* edit);
    // Drops an open edit whose row is about to vanish.
    void CancelEdits();
    // Shows a refusal; true when there was one.
    bool Refused(const std::string& refusal);
    // The model's view afresh, with the selection and the current cell kept by document row.
    void ApplyView(int column, SortOrder order);
    void ShowSortIndicator();
    // The selected document rows in view order.
    std::vector<std::size_t> SelectedRowsInViewOrder() const;

    ItemTableModel* m_model;
    QPointer<CInPlaceEdit> m_activeEdit;
    LabelEditDelegate* m_labelDelegate;
    bool m_bKeepSelection = false; // during a plain click on the focused, selected row
    std::function<bool(std::size_t)> m_keep;
};

} // namespace orvik
