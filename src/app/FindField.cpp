#include "app/FindField.h"

#include <QKeyEvent>

namespace orvik {

namespace {

bool IsFieldKey(const QKeyEvent* event)
{
    const int key = event->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape || key == Qt::Key_F3;
}

} // namespace

FindField::FindField(QWidget* parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("Find item name (Enter, F3: next; Shift+F3: previous; Esc: close)"));
    setClearButtonEnabled(true);
}

bool FindField::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsFieldKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FindField::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (!IsFieldKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (key == Qt::Key_Escape)
        emit closed();
    else if (key == Qt::Key_F3 && (event->modifiers() & Qt::ShiftModifier))
        emit findPrevious();
    else
        emit findNext();
}

} // namespace orvik
