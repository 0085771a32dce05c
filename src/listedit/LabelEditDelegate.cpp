#include "listedit/LabelEditDelegate.h"

#include <QCompleter>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaProperty>

#include "listedit/EditListCtrl.h"
#include "listedit/UndoKeys.h"

namespace orvik {

namespace {

// Dynamic properties on the editor: where it edits, and whether it has reported yet.
constexpr const char* kRowProperty = "orvikRow";
constexpr const char* kColumnProperty = "orvikColumn";
constexpr const char* kPendingProperty = "orvikReportPending";

} // namespace

LabelEditDelegate::LabelEditDelegate(CEditListCtrl* table) : QStyledItemDelegate(table), m_table(table) {}

QWidget* LabelEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor != nullptr) {
        // The document row: the editor's row stays the same whatever the view shows.
        editor->setProperty(kRowProperty, static_cast<int>(m_table->DocumentRow(index.row())));
        editor->setProperty(kColumnProperty, index.column());
        editor->setProperty(kPendingProperty, true);
        m_openEditor = editor;
        auto* line = qobject_cast<QLineEdit*>(editor);
        if (line != nullptr && !m_completionNames.isEmpty()) {
            auto* completer = new QCompleter(m_completionNames, line);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            completer->setFilterMode(Qt::MatchContains);
            completer->setCompletionMode(QCompleter::PopupCompletion);
            line->setCompleter(completer);
        }
    }
    return editor;
}

int LabelEditDelegate::EditorRow(const QWidget* editor) { return editor->property(kRowProperty).toInt(); }

int LabelEditDelegate::EditorColumn(const QWidget* editor) { return editor->property(kColumnProperty).toInt(); }

bool LabelEditDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (m_table != nullptr && editor != nullptr && editor == m_openEditor &&
        (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const UndoKey which = UndoKeyOf(key);
        const bool undo = which == UndoKey::Undo;
        const bool redo = which == UndoKey::Redo;
        const bool fill =
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && (key->modifiers() & Qt::ControlModifier);
        if (fill) {
            // Ctrl+Enter fills the selected rows' first column, as the edit box does for the others.
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                const QMetaProperty user = editor->metaObject()->userProperty();
                const QString text = user.isValid() ? user.read(editor).toString() : QString();
                const int row = EditorRow(editor);
                const int column = EditorColumn(editor);
                TakeReport(editor);
                CEditListCtrl* table = m_table;
                emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
                table->FillSelection(row, column, text);
            }
            return true;
        }
        if (undo || redo) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                // Undo and Redo end the edit first, as a loss of focus would.
                CEditListCtrl* table = m_table;
                if (undo)
                    table->Undo();
                else
                    table->Redo();
            }
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

bool LabelEditDelegate::TakeReport(QWidget* editor)
{
    if (editor == nullptr || !editor->property(kPendingProperty).toBool())
        return false;
    editor->setProperty(kPendingProperty, false);
    return true;
}

void LabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (m_table == nullptr || !TakeReport(editor))
        return;
    const QMetaProperty user = editor->metaObject()->userProperty();
    const QString text = user.isValid() ? user.read(editor).toString() : QString();
    m_table->OnEndLabelEdit(static_cast<int>(m_table->DocumentRow(index.row())), index.column(), &text);
}

void LabelEditDelegate::ReportClose(QWidget* editor) const
{
    if (m_openEditor == editor)
        m_openEditor = nullptr;
    if (m_table == nullptr || !TakeReport(editor))
        return;
    m_table->OnEndLabelEdit(editor->property(kRowProperty).toInt(), editor->property(kColumnProperty).toInt(), nullptr);
}

} // namespace orvik
