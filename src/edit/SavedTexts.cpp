#include "edit/SavedTexts.h"

#include <algorithm>

namespace orvik {

void SavedTexts::Note(std::size_t row, int column, const std::string& before, const std::string& after)
{
    auto found = m_rows.find(row);
    if (found == m_rows.end()) {
        // The cell held its saved text until now.
        if (before != after)
            m_rows[row].emplace(column, before);
        return;
    }
    std::map<int, std::string>& cells = found->second;
    const auto cell = cells.find(column);
    if (cell == cells.end()) {
        if (before != after)
            cells.emplace(column, before);
    } else if (cell->second == after) {
        cells.erase(cell);
        if (cells.empty())
            m_rows.erase(found);
    }
}

const std::string* SavedTexts::Saved(std::size_t row, int column) const
{
    const auto found = m_rows.find(row);
    if (found == m_rows.end())
        return nullptr;
    const auto cell = found->second.find(column);
    return cell == found->second.end() ? nullptr : &cell->second;
}

std::vector<CellChange> SavedTexts::Changes(const std::vector<ItemRow>& rows) const
{
    std::vector<std::size_t> order;
    order.reserve(m_rows.size());
    for (const auto& entry : m_rows)
        order.push_back(entry.first);
    std::sort(order.begin(), order.end());
    std::vector<CellChange> changes;
    for (const std::size_t row : order)
        for (const auto& [column, saved] : m_rows.at(row))
            changes.push_back({row, column, saved,
                               row < rows.size() ? rows[row][static_cast<std::size_t>(column)] : std::string()});
    return changes;
}

} // namespace orvik
