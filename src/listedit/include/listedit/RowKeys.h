#pragma once
// The keys of the commands over many rows, shared by the table's context menu and the dialog.
#include <QKeySequence>

namespace orvik {

inline QKeySequence CopyKeys() { return QKeySequence(Qt::CTRL | Qt::Key_C); }
inline QKeySequence PasteKeys() { return QKeySequence(Qt::CTRL | Qt::Key_V); }
inline QKeySequence FillDownKeys() { return QKeySequence(Qt::CTRL | Qt::Key_D); }
inline QKeySequence MoveSelectionKeys() { return QKeySequence(Qt::CTRL | Qt::Key_M); }
inline QKeySequence SelectAllKeys() { return QKeySequence(Qt::CTRL | Qt::Key_A); }

} // namespace orvik
