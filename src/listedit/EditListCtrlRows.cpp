// The item table's commands over many rows: copy, paste, fill and select all. The work is the
// core's (tables/Clipboard, edit/RowEdits); the table supplies the selection and shows refusals.
#include "listedit/EditListCtrl.h"

#include <QClipboard>
#include <QGuiApplication>

#include "common/Text.h"
#include "edit/EditDocument.h"
#include "edit/RowEdits.h"
#include "listedit/ItemTableModel.h"
#include "tables/Clipboard.h"

#include <algorithm>

namespace orvik {

std::vector<std::size_t> CEditListCtrl::SelectedRows() const
{
    std::vector<std::size_t> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.push_back(DocumentRow(row));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

bool CEditListCtrl::Refused(const std::string& refusal)
{
    if (refusal.empty())
        return false;
    emit refused(QString::fromStdString(Cp1252ToUtf8(refusal)));
    return true;
}

void CEditListCtrl::CopySelection()
{
    const std::vector<std::size_t> rows = SelectedRows();
    if (Document() == nullptr || rows.empty())
        return;
    QGuiApplication::clipboard()->setText(QString::fromStdString(CopyRowsText(*Document(), rows)));
}

void CEditListCtrl::PasteClipboard() { Paste(QGuiApplication::clipboard()->text()); }

void CEditListCtrl::Paste(const QString& text)
{
    EndEdit();
    EditDocument* document = Document();
    if (document == nullptr)
        return;
    PasteTarget target;
    target.selected = SelectedRows();
    // From the current row down means down the rows shown, never into hidden ones.
    std::vector<std::size_t> down;
    if (currentIndex().isValid()) {
        target.current = CellRef{DocumentRow(currentIndex().row()), currentIndex().column()};
        if (!m_model->View().IsIdentity())
            for (int view = currentIndex().row(); view < rowCount(); ++view)
                down.push_back(DocumentRow(view));
    }
    const bool shown = currentIndex().isValid() && !m_model->View().IsIdentity();
    Refused(PasteText(*document, text.toStdString(), target, shown ? &down : nullptr).refusal);
}

void CEditListCtrl::FillDown()
{
    EndEdit();
    // The first row is the one shown first.
    std::vector<std::size_t> rows = SelectedRowsInViewOrder();
    EditDocument* document = Document();
    if (document == nullptr)
        return;
    if (rows.size() < 2) {
        Refused("Select the rows to fill first: Fill Down copies the first selected row's cell into the others.");
        return;
    }
    const int column = currentIndex().isValid() ? currentIndex().column() : 0;
    const std::string text = document->Cell(rows.front(), column);
    rows.erase(rows.begin());
    std::sort(rows.begin(), rows.end());
    Refused(FillColumn(*document, rows, column, text).refusal);
}

void CEditListCtrl::FillSelection(int row, int column, const QString& text)
{
    std::vector<std::size_t> rows = SelectedRows();
    if (row >= 0 && !std::binary_search(rows.begin(), rows.end(), static_cast<std::size_t>(row)))
        rows.insert(std::lower_bound(rows.begin(), rows.end(), static_cast<std::size_t>(row)),
                    static_cast<std::size_t>(row));
    // One row is an ordinary edit.
    if (rows.size() < 2 || Document() == nullptr) {
        OnEndLabelEdit(row, column, &text);
        return;
    }
    Refused(FillColumn(*Document(), rows, column, Utf8ToCp1252(text.toStdString())).refusal);
}

void CEditListCtrl::SelectAllRows()
{
    EndEdit();
    selectAll();
}

} // namespace orvik
