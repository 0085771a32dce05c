// The map as an editing surface: table rows and markers select each other, dragged markers become
// one document step, and the markers follow every edit, undo and redo.
#include "app/EditorDlg.h"

#include "app/QtText.h"
#include "common/Text.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mapwidget/MapWnd.h"

#include <QItemSelectionModel>

#include <set>

namespace orvik {

namespace {

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
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SyncMapSelection(); });
    m_mapListener = m_document.Subscribe([this](const DocumentChange& change) {
        if (change.kind == DocumentChange::Kind::Cells)
            SyncMapPositions(change.cells);
    });
}

void CEditorDlg::SelectRowFromMap(std::size_t row, bool toggle)
{
    const int r = static_cast<int>(row);
    if (r >= m_list->rowCount())
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

void CEditorDlg::SyncMapSelection()
{
    std::vector<std::size_t> rows;
    for (const QModelIndex& index : m_list->selectionModel()->selectedRows())
        rows.push_back(static_cast<std::size_t>(index.row()));
    m_map->View().SetSelection(rows);
    m_map->RepaintNow();
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
    m_map->RepaintNow();
}

} // namespace orvik
