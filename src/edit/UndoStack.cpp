#include "edit/UndoStack.h"

namespace orvik {

void UndoStack::Clear()
{
    m_commands.clear();
    m_index = 0;
    m_clean = 0;
}

void UndoStack::Push(std::unique_ptr<EditCommand> command)
{
    if (m_clean && *m_clean > m_index)
        m_clean.reset();
    m_commands.resize(m_index);
    m_commands.push_back(std::move(command));
    ++m_index;
}

EditCommand* UndoStack::StepBack()
{
    if (!CanUndo())
        return nullptr;
    return m_commands[--m_index].get();
}

EditCommand* UndoStack::StepForward()
{
    if (!CanRedo())
        return nullptr;
    return m_commands[m_index++].get();
}

} // namespace orvik
