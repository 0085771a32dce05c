#include "listedit/LabelEditDelegate.h"

#include <QMetaProperty>

#include "listedit/EditListCtrl.h"

namespace orvik {

namespace {

// Dynamic properties on the editor: where it edits, and whether it has reported yet.
constexpr const char* kRowProperty = "orvikRow";
constexpr const char* kColumnProperty = "orvikColumn";
constexpr const char* kPendingProperty = "orvikReportPending";

} // namespace

CLabelEditDelegate::CLabelEditDelegate(CEditListCtrl* table) : QStyledItemDelegate(table), m_table(table) {}

QWidget* CLabelEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                          const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (editor != nullptr) {
        editor->setProperty(kRowProperty, index.row());
        editor->setProperty(kColumnProperty, index.column());
        editor->setProperty(kPendingProperty, true);
        m_openEditor = editor;
    }
    return editor;
}

bool CLabelEditDelegate::TakeReport(QWidget* editor)
{
    if (editor == nullptr || !editor->property(kPendingProperty).toBool())
        return false;
    editor->setProperty(kPendingProperty, false);
    return true;
}

void CLabelEditDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const
{
    if (m_table == nullptr || !TakeReport(editor))
        return;
    const QMetaProperty user = editor->metaObject()->userProperty();
    const QString text = user.isValid() ? user.read(editor).toString() : QString();
    m_table->OnEndLabelEdit(index.row(), index.column(), &text);
}

void CLabelEditDelegate::ReportClose(QWidget* editor) const
{
    if (m_openEditor == editor)
        m_openEditor = nullptr;
    if (m_table == nullptr || !TakeReport(editor))
        return;
    m_table->OnEndLabelEdit(editor->property(kRowProperty).toInt(), editor->property(kColumnProperty).toInt(),
                            nullptr);
}

} // namespace orvik
