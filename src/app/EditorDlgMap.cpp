// The map as an editing surface: table rows and markers select each other, dragged markers become
// one document step, and the markers follow every edit, undo and redo.
#include "app/EditorDlg.h"

#include "app/QtText.h"
#include "common/Text.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QStringList>

#include <algorithm>
#include <set>

namespace orvik {

namespace {

constexpr std::int64_t kUnitsPerMapPixel = 131072;

const char* CategoryName(ItemCategory category)
{
    switch (category) {
    case ItemCategory::People: return "Person";
    case ItemCategory::Decorations: return "Decoration";
    case ItemCategory::Vehicles: return "Vehicle";
    case ItemCategory::Buildings: return "Building";
    case ItemCategory::Objects: return "Object";
    case ItemCategory::Markers: return "Marker";
    case ItemCategory::None: break;
    }
    return "Item";
}

} // namespace

void CEditorDlg::ConnectMap()
{
    m_map->onItemClicked = [this](std::size_t row, bool toggle) { SelectRowFromMap(row, toggle); };
    m_map->onItemsMoved = [this](const CMapWnd::Moves& moves) { RunCommand([&] { MoveItemsFromMap(moves); }); };
    m_map->describeItem = [this](std::size_t row) {
        if (row >= m_document.RowCount() || row >= m_model.items.size())
            return QString();
        const ItemRow& cells = m_document.Rows()[row];
        const std::int32_t kind = m_model.items[row]->m_nId;
        return QStringLiteral("Row %1: %2 (%3 %4)\nX %5  Y %6  Z %7\nAngle %8")
            .arg(row + 1)
            .arg(ToQt(cells[kColItem]), QString::fromLatin1(CategoryName(CategoryOf(kind))), QString::number(kind),
                 ToQt(cells[kColX]), ToQt(cells[kColY]), ToQt(cells[kColZ]), ToQt(cells[kColAngle]));
    };
    m_map->onItemsBanded = [this](const std::vector<std::size_t>& rows, bool add) { SelectRowsFromMap(rows, add); };
    m_map->onArrowMove = [this](int dx, int dy) { RunCommand([&] { MoveSelectionBy(dx, dy); }); };
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SyncMapSelection(); });
    m_mapListener = m_document.Subscribe([this](const DocumentChange& change) {
        if (change.kind == DocumentChange::Kind::Cells) {
            SyncMapPositions(change.cells);
            UpdateStatus();
        } else if (change.kind == DocumentChange::Kind::CleanState && m_document.IsClean()) {
            // Saved, or undone back to the saved rows: nothing has moved any more.
            m_map->View().ClearSavedPositions();
            m_map->RepaintNow();
            UpdateStatus();
        }
    });
}

void CEditorDlg::SelectRowFromMap(std::size_t row, bool toggle)
{
    // A row the filter hides cannot be selected (the map may still draw it).
    const int r = row < m_document.RowCount() ? m_list->ViewRow(row) : -1;
    if (r < 0)
        return;
    m_list->EndEdit();
    QItemSelectionModel* selection = m_list->selectionModel();
    const QModelIndex index = m_list->model()->index(r, 0);
    // The table keeps its own current column; Ctrl adds or removes the row without clearing others.
    const auto flags = toggle ? QItemSelectionModel::Toggle | QItemSelectionModel::Rows
                              : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows;
    selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    selection->select(index, flags);
    m_list->scrollTo(index);
    SyncMapSelection();
}

void CEditorDlg::SelectRowsFromMap(const std::vector<std::size_t>& rows, bool add)
{
    m_list->EndEdit();
    const QAbstractItemModel* model = m_list->model();
    // The first of them shown becomes the current row.
    int first = -1;
    for (const std::size_t row : rows)
        if (const int view = row < m_document.RowCount() ? m_list->ViewRow(row) : -1; view >= 0)
            first = first < 0 ? view : std::min(first, view);
    QItemSelectionModel* selectionModel = m_list->selectionModel();
    if (first >= 0) {
        const int column = m_list->currentIndex().isValid() ? m_list->currentIndex().column() : 0;
        selectionModel->setCurrentIndex(model->index(first, column), QItemSelectionModel::NoUpdate);
        m_list->scrollTo(selectionModel->currentIndex());
    }
    std::vector<std::size_t> shown;
    shown.reserve(rows.size());
    for (const std::size_t row : rows)
        if (row < m_document.RowCount())
            shown.push_back(row);
    m_list->SelectDocumentRows(shown, add);
    SyncMapSelection();
}

void CEditorDlg::SyncMapSelection()
{
    const std::vector<std::size_t> rows = m_list->SelectedRows();
    m_map->View().SetSelection(rows);
    m_nSelectedRows = rows.size();
    UpdateStatus();
    m_map->RepaintNow();
}

void CEditorDlg::UpdateStatus()
{
    QStringList parts;
    if (m_nSelectedRows > 0)
        parts << QStringLiteral("%1 selected").arg(m_nSelectedRows);
    if (const std::size_t changed = m_document.Saved().ChangedRowCount(); changed > 0)
        parts << (changed == 1 ? QStringLiteral("1 row changed") : QStringLiteral("%1 rows changed").arg(changed));
    // Most edits leave the count as it was; an unchanged label needs no new layout.
    const QString text = parts.join(QStringLiteral(", "));
    if (m_status->text() != text)
        m_status->setText(text);
}

void CEditorDlg::MoveSelectionBy(int dx, int dy)
{
    const std::vector<std::size_t> rows = m_list->SelectedRows();
    if (rows.empty())
        return;
    m_list->EndEdit();
    const std::int64_t unit = kUnitsPerMapPixel / m_map->View().Zoom();
    // Presses less than a second apart are one step, so holding a key down is one undo.
    const bool join = m_arrowTimer.isValid() && m_arrowTimer.elapsed() < 1000;
    m_arrowTimer.start();
    ReportClamped(MoveRows(m_document, rows, {dx * unit, -dy * unit, 0}, join ? MoveJoin::Join : MoveJoin::Open));
}

void CEditorDlg::OnMoveSelection()
{
    const std::vector<std::size_t> rows = m_list->SelectedRows();
    if (rows.empty()) {
        m_prompts.Message(QStringLiteral("Select the items to move first."));
        return;
    }
    m_list->EndEdit();
    const std::optional<MoveOffset> offset = m_prompts.AskMoveOffset(
        QStringLiteral("Move %1 by (world units; one map pixel is 131072):")
            .arg(rows.size() == 1 ? QStringLiteral("1 item") : QStringLiteral("%1 items").arg(rows.size())));
    if (!offset)
        return;
    m_arrowTimer.invalidate();
    ReportClamped(MoveRows(m_document, rows, *offset));
}

void CEditorDlg::ReportClamped(const RowsOutcome& outcome)
{
    if (!outcome.clampedRows.empty())
        m_prompts.Message(ToQt(ClampedRowsMessage(outcome.clampedRows)));
}

void CEditorDlg::MoveItemsFromMap(const std::vector<std::pair<std::size_t, WorldPoint>>& moves)
{
    m_list->EndEdit();
    std::vector<CellChange> changes;
    for (const auto& [row, p] : moves) {
        if (row >= m_document.RowCount())
            continue;
        // Only the cells whose text changes: a cell that was not moved stays as typed.
        const std::string x = FormatLong(p.x);
        const std::string y = FormatLong(p.y);
        if (m_document.Cell(row, kColX) != x)
            changes.push_back({row, kColX, m_document.Cell(row, kColX), x});
        if (m_document.Cell(row, kColY) != y)
            changes.push_back({row, kColY, m_document.Cell(row, kColY), y});
    }
    if (changes.empty())
        return;
    m_document.SetCells(changes, moves.size() == 1 ? "Move item" : "Move items");
}

void CEditorDlg::SyncMapPositions(const std::vector<CellRef>& cells)
{
    std::set<std::size_t> rows;
    for (const CellRef& cell : cells)
        if (cell.column == kColX || cell.column == kColY)
            rows.insert(cell.row);
    if (rows.empty())
        return;
    MapView& view = m_map->View();
    for (std::size_t row : rows) {
        if (row >= m_document.RowCount())
            continue;
        // A cell that holds no number keeps the marker at its last good position.
        WorldPoint p = view.PositionOf(row);
        if (const auto x = ParseCoordinate(m_document.Cell(row, kColX)))
            p.x = *x;
        if (const auto y = ParseCoordinate(m_document.Cell(row, kColY)))
            p.y = *y;
        view.SetPosition(row, p);
    }
    SyncSavedPositions(rows);
    m_map->RepaintNow();
}

void CEditorDlg::SyncSavedPositions(const std::set<std::size_t>& rows)
{
    MapView& view = m_map->View();
    const SavedTexts& saved = m_document.Saved();
    for (const std::size_t row : rows) {
        const std::string* x = saved.Saved(row, kColX);
        const std::string* y = saved.Saved(row, kColY);
        std::optional<WorldPoint> was;
        if (x != nullptr || y != nullptr) {
            // A saved cell that holds no number has no place to show.
            const auto wx = ParseCoordinate(x != nullptr ? *x : m_document.Cell(row, kColX));
            const auto wy = ParseCoordinate(y != nullptr ? *y : m_document.Cell(row, kColY));
            if (wx && wy && !(WorldPoint{*wx, *wy} == view.PositionOf(row)))
                was = WorldPoint{*wx, *wy};
        }
        view.SetSavedPosition(row, was);
    }
}

} // namespace orvik
