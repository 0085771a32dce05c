#include "edit/SetCellsCommand.h"

#include <map>
#include <set>

namespace orvik {

EditCommand::~EditCommand() = default;

SetCellsCommand::SetCellsCommand(std::vector<CellChange> changes, std::string label)
    : m_changes(std::move(changes)), m_label(std::move(label))
{}

std::vector<CellRef> SetCellsCommand::Apply(std::vector<ItemRow>& rows, bool forward) const
{
    std::vector<CellRef> cells;
    cells.reserve(m_changes.size());
    // Undo walks backwards, so a cell named twice ends with its first "before".
    for (std::size_t k = 0; k < m_changes.size(); ++k) {
        const CellChange& change = m_changes[forward ? k : m_changes.size() - 1 - k];
        rows[change.row][static_cast<std::size_t>(change.column)] = forward ? change.after : change.before;
        cells.push_back({change.row, change.column});
    }
    return cells;
}

std::vector<CellRef> SetCellsCommand::Redo(std::vector<ItemRow>& rows) { return Apply(rows, true); }

std::vector<CellRef> SetCellsCommand::Undo(std::vector<ItemRow>& rows) { return Apply(rows, false); }

void SetCellsCommand::Absorb(const std::vector<CellChange>& more, std::string label)
{
    std::map<std::pair<std::size_t, int>, std::size_t> where;
    for (std::size_t k = 0; k < m_changes.size(); ++k)
        where.emplace(std::make_pair(m_changes[k].row, m_changes[k].column), k);
    for (const CellChange& change : more) {
        if (auto it = where.find({change.row, change.column}); it != where.end()) {
            m_changes[it->second].after = change.after;
        } else {
            where.emplace(std::make_pair(change.row, change.column), m_changes.size());
            m_changes.push_back(change);
        }
    }
    m_label = std::move(label);
}

std::string SetCellsCommand::Text() const
{
    if (m_changes.size() == 1) {
        const CellChange& change = m_changes.front();
        // Rows are counted from 1 for the user.
        return std::string(ItemColumnTitles()[static_cast<std::size_t>(change.column)]) + ", row " +
               std::to_string(change.row + 1);
    }
    if (!m_label.empty())
        return m_label;
    std::set<std::size_t> rows;
    for (const CellChange& change : m_changes)
        rows.insert(change.row);
    return std::to_string(m_changes.size()) + " cells in " + std::to_string(rows.size()) +
           (rows.size() == 1 ? " row" : " rows");
}

} // namespace orvik
