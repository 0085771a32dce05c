#pragma once
// The loaded mission as the table shows it: one row of cell texts per item record, in record order
// (row i is record i, always). Every change is a command on the undo stack; the document is clean
// when the present is at the mark set by the last load or successful save. Views register for
// notifications naming the cells that changed.
#include "edit/CellChange.h"
#include "edit/SavedTexts.h"
#include "edit/UndoStack.h"
#include "mission/ItemRows.h"

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace orvik {

class EditDocument {
public:
    using Listener = std::function<void(const DocumentChange&)>;

    EditDocument();

    // Replaces every row, forgets the history and sets the clean mark. Returns the rows it held, so
    // that a caller may free a large table elsewhere.
    std::vector<ItemRow> Load(std::vector<ItemRow> rows);
    std::vector<ItemRow> Clear() { return Load({}); }

    const std::vector<ItemRow>& Rows() const { return m_rows; }
    std::size_t RowCount() const { return m_rows.size(); }
    // The cell's text; empty for a cell that is not there.
    const std::string& Cell(std::size_t row, int column) const;

    // ID and MP Only are shown, never edited; a table of other data may open them.
    bool IsEditable(int column) const;
    void SetColumnEditable(int column, bool editable);

    // One step that sets one cell. False, and nothing done, for a cell that is not there or not
    // editable, or a text equal to the cell's.
    bool SetCell(std::size_t row, int column, const std::string& text);
    // One step that sets several cells of several rows (a cell named twice takes its last text).
    // Refused whole if any cell is not there or not editable; false when nothing would change.
    bool SetCells(const std::vector<CellChange>& changes, const std::string& label = {});
    // As SetCells, for a step that a later call may join (held arrow keys are one step). With join,
    // while the last step was also made here, nothing was undone after it and it is not the saved
    // state, the changes become part of it. The caller decides which calls belong together.
    bool MergeCells(const std::vector<CellChange>& changes, const std::string& label, bool join);

    bool CanUndo() const { return m_stack.CanUndo(); }
    bool CanRedo() const { return m_stack.CanRedo(); }
    // "Undo X Position, row 12" and "Redo ..."; just "Undo" / "Redo" when there is nothing.
    std::string UndoText() const;
    std::string RedoText() const;
    // The cells changed, empty when there was nothing to undo or redo.
    std::vector<CellRef> Undo();
    std::vector<CellRef> Redo();

    bool IsClean() const { return m_stack.IsClean(); }
    // After a successful save.
    void SetClean();
    // The texts the edited cells held at the last load or save; empty when clean.
    const SavedTexts& Saved() const { return m_saved; }

    // The next row from start (inclusive) in the direction whose item name contains text,
    // ignoring letter case, going round the end; -1 when none does or text is empty.
    long FindRow(const std::string& text, std::size_t start, bool forward = true) const;

    int Subscribe(Listener listener);
    void Unsubscribe(int id);

private:
    void Notify(const DocumentChange& change);
    void NotifyCells(std::vector<CellRef> cells, bool wasClean);
    // The changes that would do something, with the document's own "before" texts; false when a
    // cell is not there or not editable.
    bool RealChanges(const std::vector<CellChange>& changes, std::vector<CellChange>& real) const;
    bool Commit(const std::vector<CellChange>& changes, const std::string& label, bool mergeable);

    // Keeps m_saved up to date with changes just applied (forward) or taken back.
    void NoteSaved(const std::vector<CellChange>& changes, bool forward);

    std::vector<ItemRow> m_rows;
    UndoStack m_stack;
    SavedTexts m_saved;
    std::array<bool, kColumnCount> m_editable{};
    std::map<int, Listener> m_listeners;
    int m_nextListener = 1;
};

} // namespace orvik
