#pragma once
// The commands done so far, the place of the present among them, and the clean mark: the place
// that matches what was last loaded or saved.
#include "edit/EditCommand.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

namespace orvik {

class UndoStack {
public:
    // Drops every command; the present becomes clean.
    void Clear();
    // Adds an already applied command after the present, dropping the undone ones after it.
    void Push(std::unique_ptr<EditCommand> command);

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index < m_commands.size(); }
    // The command the next Undo or Redo would run, or null.
    EditCommand* UndoCommand() const { return CanUndo() ? m_commands[m_index - 1].get() : nullptr; }
    EditCommand* RedoCommand() const { return CanRedo() ? m_commands[m_index].get() : nullptr; }
    // Moves the present one step; the caller runs the command returned.
    EditCommand* StepBack();
    EditCommand* StepForward();

    void SetClean() { m_clean = m_index; }
    bool IsClean() const { return m_clean == m_index; }
    std::size_t Index() const { return m_index; }
    std::size_t Count() const { return m_commands.size(); }

private:
    std::vector<std::unique_ptr<EditCommand>> m_commands;
    std::size_t m_index = 0;
    // Empty once the clean state has been undone and replaced by other commands: it cannot come back.
    std::optional<std::size_t> m_clean = 0;
};

} // namespace orvik
