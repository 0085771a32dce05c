#include "listedit/EditListCtrl.h"

#include <algorithm>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "common/Text.h"
#include "edit/EditDocument.h"
#include "listedit/ItemTableModel.h"
#include "listedit/LabelEditDelegate.h"

namespace orvik {

CEditListCtrl::CEditListCtrl(QWidget* parent)
    : QTableView(parent), m_model(new ItemTableModel(this)), m_labelDelegate(new LabelEditDelegate(this))
{
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Cells are edited only through mousePressEvent and the keys below.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the table (and ends an open edit) instead of walking its cells.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setShowGrid(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setItemDelegateForColumn(0, m_labelDelegate);

    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    QHeaderView* header = horizontalHeader();
    header->setMinimumSectionSize(0);
    // Edges can be dragged; a double-click on one fits the column to its texts.
    header->setSectionResizeMode(QHeaderView::Interactive);
    // A click on a title sorts by its column.
    header->setSectionsClickable(true);
    header->setSortIndicatorShown(false);
    header->setSectionsMovable(false);
    header->setStretchLastSection(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // A reload takes every row away: an open edit has nowhere to go.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, &CEditListCtrl::CancelEdits);
    connect(header, &QHeaderView::sectionClicked, this, &CEditListCtrl::CycleSort);
    // A load shows every row in file order: the title loses its arrow.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        if (m_model->Order() == SortOrder::None && !m_model->IsFiltered()) {
            m_keep = nullptr;
            ShowSortIndicator();
        }
    });
}

CEditListCtrl::~CEditListCtrl()
{
    // Nothing may report into a table that is half destroyed.
    m_labelDelegate->Detach();
    if (m_activeEdit) {
        m_activeEdit->Detach();
        delete m_activeEdit.data();
    }
    m_model->SetDocument(nullptr);
}

void CEditListCtrl::SetDocument(EditDocument* document) { m_model->SetDocument(document); }

EditDocument* CEditListCtrl::Document() const { return m_model->Document(); }

void CEditListCtrl::InsertColumn(int column, const QString& title, int width, Qt::Alignment format)
{
    column = std::clamp(column, 0, columnCount());
    m_model->InsertColumn(column, title, format);
    setColumnWidth(column, std::max(width, 0));
}

int CEditListCtrl::rowCount() const { return m_model->rowCount(); }

int CEditListCtrl::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? static_cast<int>(DocumentRow(current.row())) : -1;
}

int CEditListCtrl::columnCount() const { return m_model->columnCount(); }

QString CEditListCtrl::GetItemText(int row, int column) const
{
    return row < 0 ? QString() : m_model->CellText(static_cast<std::size_t>(row), column);
}

void CEditListCtrl::SetCompletionNames(const QStringList& names) { m_labelDelegate->SetCompletionNames(names); }

void CEditListCtrl::CancelEdits()
{
    if (m_activeEdit && !m_activeEdit->IsFinished())
        m_activeEdit->Cancel();
    if (QWidget* editor = m_labelDelegate->OpenEditor())
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

void CEditListCtrl::EndEdit()
{
    if (m_activeEdit && !m_activeEdit->IsFinished())
        m_activeEdit->Finish();
    if (QWidget* editor = m_labelDelegate->OpenEditor()) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

int CEditListCtrl::CellFromPoint(const QPoint& point, int* column) const
{
    if (column != nullptr)
        *column = 0;
    const int first = rowAt(0);
    if (first < 0)
        return -1;
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = rowCount() - 1;
    const int columns = columnCount();
    const int rowLeft = -horizontalOffset();
    const int rowWidth = horizontalHeader()->length();
    for (int r = first; r <= last; ++r) {
        if (isRowHidden(r))
            continue;
        const QRect bounds(rowLeft, rowViewportPosition(r), rowWidth, rowHeight(r));
        if (!bounds.contains(point))
            continue;
        int left = bounds.left();
        for (int c = 0; c < columns; ++c) {
            const int width = columnWidth(c);
            // Both ends belong to the column, so a boundary goes to the column on its left.
            if (point.x() >= left && point.x() <= left + width) {
                if (column != nullptr)
                    *column = c;
                return static_cast<int>(DocumentRow(r));
            }
            left += width;
        }
    }
    return -1;
}

bool CEditListCtrl::EnsureRowVisible(int row)
{
    if (row < 0 || row >= rowCount() || isRowHidden(row))
        return false;
    QScrollBar* bar = verticalScrollBar();
    const int viewHeight = viewport()->height();
    if (verticalScrollMode() == QAbstractItemView::ScrollPerPixel) {
        const int top = rowViewportPosition(row);
        const int bottom = top + rowHeight(row);
        if (top < 0)
            bar->setValue(bar->value() + top);
        else if (bottom > viewHeight)
            bar->setValue(bar->value() + std::min(top, bottom - viewHeight));
        return true;
    }
    // Per item the bar's value is the top row: step it until the row fits, or stands at the top.
    const int visual = verticalHeader()->visualIndex(row);
    if (rowViewportPosition(row) < 0)
        bar->setValue(visual);
    while (rowViewportPosition(row) + rowHeight(row) > viewHeight && bar->value() < visual &&
           bar->value() < bar->maximum())
        bar->setValue(bar->value() + 1);
    return true;
}

void CEditListCtrl::EnsureColumnVisible(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    const int left = columnViewportPosition(column);
    const int right = left + columnWidth(column);
    QScrollBar* bar = horizontalScrollBar();
    if (left < 0)
        bar->setValue(bar->value() + left);
    else if (right > viewport()->width())
        bar->setValue(bar->value() + std::min(left, right - viewport()->width()));
}

CInPlaceEdit* CEditListCtrl::EditCell(int row, int column)
{
    const int view = row < 0 ? -1 : ViewRow(static_cast<std::size_t>(row));
    if (!EnsureRowVisible(view))
        return nullptr;
    if (column < 0 || column >= columnCount() || !m_model->IsEditable(column))
        return nullptr;
    const int width = columnWidth(column);
    if (width < kMinEditWidth)
        return nullptr;
    // A box that is still open ends (and stores) before the next one opens.
    if (m_activeEdit && !m_activeEdit->IsFinished())
        m_activeEdit->Finish();

    int offset = 0;
    for (int c = 0; c < column; ++c)
        offset += columnWidth(c);
    const int viewRight = viewport()->width();
    int cellLeft = offset - horizontalOffset();
    // A box that would start outside the visible part is brought to the left edge. The position is
    // read back, because the scroll bar may not be able to go that far.
    if (cellLeft < 0 || cellLeft + 4 >= viewRight) {
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + cellLeft);
        cellLeft = offset - horizontalOffset();
    }

    const Qt::Alignment format = m_model->ColumnFormat(column);
    Qt::Alignment alignment = Qt::AlignHCenter;
    if (format & Qt::AlignLeft)
        alignment = Qt::AlignLeft;
    else if (format & Qt::AlignRight)
        alignment = Qt::AlignRight;

    const int boxLeft = cellLeft + 4;
    const int boxRight = std::min(cellLeft + width + 1, viewRight);
    auto* edit = new CInPlaceEdit(this, row, column, GetItemText(row, column));
    edit->setAlignment(alignment | Qt::AlignVCenter);
    edit->setGeometry(boxLeft, rowViewportPosition(view), std::max(boxRight - boxLeft, 0), rowHeight(view));
    m_activeEdit = edit;
    // Tab from the box goes on to the control after the table.
    QWidget::setTabOrder(this, edit);
    edit->show();
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return edit;
}

bool CEditListCtrl::OpenEditor(int row, int column)
{
    const int view = row < 0 ? -1 : ViewRow(static_cast<std::size_t>(row));
    if (view < 0 || !m_model->IsEditable(column))
        return false;
    if (column > 0)
        return EditCell(row, column) != nullptr;
    if (!EnsureRowVisible(view))
        return false;
    edit(m_model->index(view, 0));
    return LabelEditor() != nullptr;
}

void CEditListCtrl::OnEndLabelEdit(int row, int column, const QString* text)
{
    if (text == nullptr || row < 0 || static_cast<std::size_t>(row) >= m_model->DocumentRowCount() || column < 0 || column >= columnCount() ||
        !m_model->IsEditable(column))
        return;
    if (EditDocument* document = Document())
        document->SetCell(static_cast<std::size_t>(row), column, Utf8ToCp1252(text->toStdString()));
    emit cellEdited(row, column);
}

CInPlaceEdit* CEditListCtrl::ActiveEdit() const
{
    return m_activeEdit && !m_activeEdit->IsFinished() ? m_activeEdit.data() : nullptr;
}

QWidget* CEditListCtrl::LabelEditor() const { return m_labelDelegate->OpenEditor(); }

void CEditListCtrl::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int horizontal = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(horizontal);
}

void CEditListCtrl::mousePressEvent(QMouseEvent* event)
{
    const int focusedBefore = currentRow();
    const bool selecting = (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)) != 0;
    m_bKeepSelection = event->button() == Qt::LeftButton && !selecting && focusedBefore >= 0 &&
                       CellFromPoint(event->position().toPoint()) == focusedBefore &&
                       selectionModel()->isRowSelected(ViewRow(static_cast<std::size_t>(focusedBefore)), {});
    QTableView::mousePressEvent(event);
    // Shift and Ctrl only select (a range, one row more or less): they never open an edit.
    if (event->button() != Qt::LeftButton || selecting)
        return;
    int column = 0;
    const int row = CellFromPoint(event->position().toPoint(), &column);
    if (row < 0)
        return;
    if (row == focusedBefore && column > 0) {
        EditCell(row, column);
        return;
    }
    const int view = ViewRow(static_cast<std::size_t>(row));
    if (!m_bKeepSelection)
        selectionModel()->setCurrentIndex(m_model->index(view, column),
                                          QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    // The first column of the focused row is edited by the table's own editor.
    if (row == focusedBefore && column == 0)
        edit(m_model->index(view, 0));
}

void CEditListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    m_bKeepSelection = false;
}

QItemSelectionModel::SelectionFlags CEditListCtrl::selectionCommand(const QModelIndex& index, const QEvent* event) const
{
    if (m_bKeepSelection && event != nullptr &&
        (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease ||
         event->type() == QEvent::MouseMove))
        return QItemSelectionModel::NoUpdate;
    return QTableView::selectionCommand(index, event);
}

void CEditListCtrl::scrollContentsBy(int dx, int dy)
{
    // An open edit ends, and stores its text, before its cell moves away under it.
    if (m_activeEdit && !m_activeEdit->IsFinished())
        m_activeEdit->Finish();
    if (m_labelDelegate->OpenEditor() != nullptr && window()->focusWidget() != this)
        setFocus(Qt::OtherFocusReason);
    QTableView::scrollContentsBy(dx, dy);
}

QModelIndex CEditListCtrl::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    if (action == MoveHome || action == MoveEnd)
        modifiers |= Qt::ControlModifier;
    return QTableView::moveCursor(action, modifiers);
}

void CEditListCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    m_labelDelegate->ReportClose(editor);
    if (hint != QAbstractItemDelegate::EditNextItem && hint != QAbstractItemDelegate::EditPreviousItem) {
        QTableView::closeEditor(editor, hint);
        return;
    }
    // Tab and Shift+Tab: the text is stored already; go on to the neighbouring editable cell.
    const int row = LabelEditDelegate::EditorRow(editor);
    const int column = LabelEditDelegate::EditorColumn(editor);
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    EditNextCell(row, column, hint == QAbstractItemDelegate::EditNextItem);
}

void CEditListCtrl::EditEnded(CInPlaceEdit* edit)
{
    if (m_activeEdit == edit)
        m_activeEdit = nullptr;
}

} // namespace orvik
