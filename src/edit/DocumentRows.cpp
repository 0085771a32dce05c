#include "edit/DocumentRows.h"

namespace orvik {

std::vector<ItemRow> RowsOfModel(const CMissionModel& model, const CItemDefList& catalogue)
{
    std::vector<ItemRow> rows(model.items.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        FillRow(rows[i], *model.items[i], catalogue);
    return rows;
}

bool ApplyTableRows(EditDocument& document, const std::vector<ItemRow>& rows, const std::string& label)
{
    std::vector<CellChange> changes;
    const std::size_t count = std::min(rows.size(), document.RowCount());
    for (std::size_t r = 0; r < count; ++r)
        for (int c = 0; c < kColumnCount; ++c)
            if (document.IsEditable(c) && document.Cell(r, c) != rows[r][static_cast<std::size_t>(c)])
                changes.push_back({r, c, {}, rows[r][static_cast<std::size_t>(c)]});
    return document.SetCells(changes, label);
}

} // namespace orvik
