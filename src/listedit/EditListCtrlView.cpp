// The item table's sort and filter: which rows it shows and in what order. The selection and the
// current cell belong to document rows, so they are carried over every change of the view.
#include "listedit/EditListCtrl.h"

#include <QHeaderView>
#include <QItemSelectionModel>

#include <algorithm>

namespace orvik {

void CEditListCtrl::SortBy(int column, SortOrder order) { ApplyView(column, order); }

void CEditListCtrl::SetRowFilter(std::function<bool(std::size_t)> keep)
{
    m_keep = std::move(keep);
    ApplyView(m_model->SortColumn(), m_model->Order());
}

void CEditListCtrl::CycleSort(int column)
{
    SortOrder order = SortOrder::Ascending;
    if (column == m_model->SortColumn())
        order = m_model->Order() == SortOrder::Ascending ? SortOrder::Descending : SortOrder::None;
    ApplyView(column, order);
}

void CEditListCtrl::ApplyView(int column, SortOrder order)
{
    // An open edit keeps its text before its row may move.
    EndEdit();
    const std::vector<std::size_t> selected = SelectedRows();
    const int current = currentRow();
    const int currentColumn = currentIndex().isValid() ? currentIndex().column() : 0;
    {
        const QSignalBlocker blocker(selectionModel());
        m_model->SetView(column, order, m_keep);
        SelectDocumentRows(selected, false);
        const int view = current < 0 ? -1 : ViewRow(static_cast<std::size_t>(current));
        if (view >= 0)
            selectionModel()->setCurrentIndex(m_model->index(view, currentColumn), QItemSelectionModel::NoUpdate);
    }
    // One signal for the whole change: listeners read the selection afresh.
    emit selectionModel()->selectionChanged({}, {});
    ShowSortIndicator();
    if (currentIndex().isValid())
        scrollTo(currentIndex(), PositionAtCenter);
    viewport()->update();
    emit viewChanged();
}

void CEditListCtrl::ShowSortIndicator()
{
    QHeaderView* header = horizontalHeader();
    const bool sorted = m_model->Order() != SortOrder::None;
    header->setSortIndicatorShown(sorted);
    if (sorted)
        header->setSortIndicator(m_model->SortColumn(), m_model->Order() == SortOrder::Ascending
                                                            ? Qt::AscendingOrder
                                                            : Qt::DescendingOrder);
}

int CEditListCtrl::ShownRowAfter(int row, bool forward) const
{
    const int view = row < 0 ? -1 : ViewRow(static_cast<std::size_t>(row));
    const int next = view < 0 ? -1 : view + (forward ? 1 : -1);
    return next >= 0 && next < rowCount() ? static_cast<int>(DocumentRow(next)) : -1;
}

void CEditListCtrl::SelectDocumentRows(const std::vector<std::size_t>& rows, bool add)
{
    std::vector<int> views;
    views.reserve(rows.size());
    for (const std::size_t row : rows)
        if (const int view = ViewRow(row); view >= 0)
            views.push_back(view);
    std::sort(views.begin(), views.end());
    // One range per run of neighbouring view rows: one selection change, however many rows.
    QItemSelection selection;
    const int last = columnCount() - 1;
    for (std::size_t k = 0; k < views.size();) {
        std::size_t end = k;
        while (end + 1 < views.size() && views[end + 1] == views[end] + 1)
            ++end;
        selection.append(QItemSelectionRange(m_model->index(views[k], 0), m_model->index(views[end], last)));
        k = end + 1;
    }
    selectionModel()->select(selection, (add ? QItemSelectionModel::Select : QItemSelectionModel::ClearAndSelect) |
                                            QItemSelectionModel::Rows);
}

std::vector<std::size_t> CEditListCtrl::SelectedRowsInViewOrder() const
{
    std::vector<int> views;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int view = range.top(); view <= range.bottom(); ++view)
            views.push_back(view);
    std::sort(views.begin(), views.end());
    views.erase(std::unique(views.begin(), views.end()), views.end());
    std::vector<std::size_t> rows;
    rows.reserve(views.size());
    for (const int view : views)
        rows.push_back(DocumentRow(view));
    return rows;
}

} // namespace orvik
