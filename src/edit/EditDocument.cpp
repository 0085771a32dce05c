#include "edit/EditDocument.h"

#include "common/Text.h"
#include "edit/SetCellsCommand.h"

#include <memory>
#include <utility>

namespace orvik {

EditDocument::EditDocument()
{
    m_editable.fill(true);
    m_editable[kColId] = false;
    m_editable[kColMpOnly] = false;
}

std::vector<ItemRow> EditDocument::Load(std::vector<ItemRow> rows)
{
    Notify({DocumentChange::Kind::AboutToReset, {}});
    std::vector<ItemRow> old = std::exchange(m_rows, std::move(rows));
    m_stack.Clear();
    m_saved.Clear();
    Notify({DocumentChange::Kind::Reset, {}});
    return old;
}

const std::string& EditDocument::Cell(std::size_t row, int column) const
{
    static const std::string kNone;
    if (row >= m_rows.size() || column < 0 || column >= kColumnCount)
        return kNone;
    return m_rows[row][static_cast<std::size_t>(column)];
}

bool EditDocument::IsEditable(int column) const
{
    return column >= 0 && column < kColumnCount && m_editable[static_cast<std::size_t>(column)];
}

void EditDocument::SetColumnEditable(int column, bool editable)
{
    if (column >= 0 && column < kColumnCount)
        m_editable[static_cast<std::size_t>(column)] = editable;
}

bool EditDocument::SetCell(std::size_t row, int column, const std::string& text)
{
    return SetCells({{row, column, {}, text}});
}

bool EditDocument::RealChanges(const std::vector<CellChange>& changes, std::vector<CellChange>& real) const
{
    for (const CellChange& change : changes)
        if (change.row >= m_rows.size() || !IsEditable(change.column))
            return false;
    // The "before" texts are the document's own, whatever the caller put there; a cell named
    // twice keeps its first "before" so that undo restores the text from before the step.
    real.clear();
    real.reserve(changes.size());
    std::map<std::pair<std::size_t, int>, std::size_t> seen;
    for (const CellChange& change : changes) {
        const auto key = std::make_pair(change.row, change.column);
        if (auto it = seen.find(key); it != seen.end()) {
            real[it->second].after = change.after;
            continue;
        }
        seen.emplace(key, real.size());
        real.push_back({change.row, change.column, Cell(change.row, change.column), change.after});
    }
    std::erase_if(real, [](const CellChange& change) { return change.before == change.after; });
    return true;
}

bool EditDocument::SetCells(const std::vector<CellChange>& changes, const std::string& label)
{
    return Commit(changes, label, false);
}

bool EditDocument::Commit(const std::vector<CellChange>& changes, const std::string& label, bool mergeable)
{
    std::vector<CellChange> real;
    if (!RealChanges(changes, real) || real.empty())
        return false;
    const bool wasClean = IsClean();
    auto command = std::make_unique<SetCellsCommand>(std::move(real), label);
    if (mergeable)
        command->SetMergeable();
    std::vector<CellRef> cells = command->Redo(m_rows);
    NoteSaved(command->Changes(), true);
    m_stack.Push(std::move(command));
    NotifyCells(std::move(cells), wasClean);
    return true;
}

bool EditDocument::MergeCells(const std::vector<CellChange>& changes, const std::string& label, bool join)
{
    auto* last = join ? dynamic_cast<SetCellsCommand*>(m_stack.UndoCommand()) : nullptr;
    if (last == nullptr || !last->IsMergeable() || m_stack.CanRedo() || IsClean())
        return Commit(changes, label, true);
    std::vector<CellChange> real;
    if (!RealChanges(changes, real) || real.empty())
        return false;
    std::vector<CellRef> cells = SetCellsCommand(real).Redo(m_rows);
    NoteSaved(real, true);
    last->Absorb(real, label);
    NotifyCells(std::move(cells), false);
    return true;
}

std::string EditDocument::UndoText() const
{
    const EditCommand* command = m_stack.UndoCommand();
    return command ? "Undo " + command->Text() : "Undo";
}

std::string EditDocument::RedoText() const
{
    const EditCommand* command = m_stack.RedoCommand();
    return command ? "Redo " + command->Text() : "Redo";
}

std::vector<CellRef> EditDocument::Undo()
{
    const bool wasClean = IsClean();
    EditCommand* command = m_stack.StepBack();
    if (command == nullptr)
        return {};
    std::vector<CellRef> cells = command->Undo(m_rows);
    NoteSaved(command->Changes(), false);
    NotifyCells(cells, wasClean);
    return cells;
}

std::vector<CellRef> EditDocument::Redo()
{
    const bool wasClean = IsClean();
    EditCommand* command = m_stack.StepForward();
    if (command == nullptr)
        return {};
    std::vector<CellRef> cells = command->Redo(m_rows);
    NoteSaved(command->Changes(), true);
    NotifyCells(cells, wasClean);
    return cells;
}

void EditDocument::SetClean()
{
    const bool wasClean = IsClean();
    m_stack.SetClean();
    m_saved.Clear();
    if (!wasClean)
        Notify({DocumentChange::Kind::CleanState, {}});
}

void EditDocument::NoteSaved(const std::vector<CellChange>& changes, bool forward)
{
    // In the order the command applied them, so that a cell named twice ends right.
    for (std::size_t k = 0; k < changes.size(); ++k) {
        const CellChange& change = changes[forward ? k : changes.size() - 1 - k];
        if (forward)
            m_saved.Note(change.row, change.column, change.before, change.after);
        else
            m_saved.Note(change.row, change.column, change.after, change.before);
    }
}

long EditDocument::FindRow(const std::string& text, std::size_t start, bool forward) const
{
    const std::size_t count = m_rows.size();
    if (text.empty() || count == 0)
        return -1;
    const std::string needle = FoldLower(text);
    std::size_t row = start % count;
    for (std::size_t step = 0; step < count; ++step) {
        if (Contains(FoldLower(m_rows[row][kColItem]), needle))
            return static_cast<long>(row);
        row = forward ? (row + 1) % count : (row + count - 1) % count;
    }
    return -1;
}

int EditDocument::Subscribe(Listener listener)
{
    const int id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void EditDocument::Unsubscribe(int id) { m_listeners.erase(id); }

void EditDocument::Notify(const DocumentChange& change)
{
    // A listener may unsubscribe while it is told; walk a copy of the ids.
    std::vector<int> ids;
    for (const auto& entry : m_listeners)
        ids.push_back(entry.first);
    for (int id : ids)
        if (auto it = m_listeners.find(id); it != m_listeners.end())
            it->second(change);
}

void EditDocument::NotifyCells(std::vector<CellRef> cells, bool wasClean)
{
    Notify({DocumentChange::Kind::Cells, std::move(cells)});
    if (wasClean != IsClean())
        Notify({DocumentChange::Kind::CleanState, {}});
}

} // namespace orvik
