#pragma once
// The keys that undo and redo everywhere in the editor, whatever the platform's own bindings:
// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo.
#include <QKeyEvent>
#include <QKeySequence>

namespace orvik {

enum class UndoKey { None, Undo, Redo };

inline UndoKey UndoKeyOf(const QKeyEvent* event)
{
    const QKeyCombination combination = event->keyCombination();
    const auto modifiers = combination.keyboardModifiers() & ~Qt::KeypadModifier;
    if (combination.key() == Qt::Key_Z && modifiers == Qt::ControlModifier)
        return UndoKey::Undo;
    if ((combination.key() == Qt::Key_Y && modifiers == Qt::ControlModifier) ||
        (combination.key() == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)))
        return UndoKey::Redo;
    return UndoKey::None;
}

inline QList<QKeySequence> UndoSequences() { return {QKeySequence(Qt::CTRL | Qt::Key_Z)}; }
inline QList<QKeySequence> RedoSequences()
{
    return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)};
}

} // namespace orvik
