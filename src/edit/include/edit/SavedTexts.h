#pragma once
// What the archive still holds for the cells edited since the last load or save: for each cell whose
// text differs from it, that saved text. Kept as each change happens, so that asking about a cell or a
// row costs nothing and an undo back to the saved text forgets the cell again.
#include "edit/CellChange.h"
#include "mission/ItemRows.h"

#include <cstddef>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvik {

class SavedTexts {
public:
    void Clear() { m_rows.clear(); }
    // A cell's text went from before to after.
    void Note(std::size_t row, int column, const std::string& before, const std::string& after);

    // The saved text of a cell that differs from it; null for a cell that holds its saved text.
    const std::string* Saved(std::size_t row, int column) const;
    bool IsRowChanged(std::size_t row) const { return m_rows.count(row) != 0; }
    // The rows that hold at least one such cell.
    std::size_t ChangedRowCount() const { return m_rows.size(); }
    bool Empty() const { return m_rows.empty(); }
    // Every such cell by row, then column: before is the saved text, after the present one.
    std::vector<CellChange> Changes(const std::vector<ItemRow>& rows) const;

private:
    std::unordered_map<std::size_t, std::map<int, std::string>> m_rows;
};

} // namespace orvik
