#include "app/FilterField.h"

#include <QKeyEvent>

namespace orvik {

namespace {

bool IsFieldKey(const QKeyEvent* event)
{
    const int key = event->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

} // namespace

FilterField::FilterField(QWidget* parent) : QLineEdit(parent)
{
    setPlaceholderText(QStringLiteral("Filter rows"));
    setClearButtonEnabled(true);
}

bool FilterField::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride && IsFieldKey(static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void FilterField::keyPressEvent(QKeyEvent* event)
{
    if (!IsFieldKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->key() == Qt::Key_Escape)
        clear();
    else
        emit done();
}

} // namespace orvik
