#pragma once
// The item table's own editor for the first column. Its result goes through the table's
// end-of-edit handler, like the edit box's, instead of being written into the model directly.
#include <QPointer>
#include <QStringList>
#include <QStyledItemDelegate>

namespace orvik {

class CEditListCtrl;

class LabelEditDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit LabelEditDelegate(CEditListCtrl* table);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    // Reports the editor's text to the table (once per editor).
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

    // Reports a cancelled edit unless the editor has already reported; for the table's closeEditor.
    void ReportClose(QWidget* editor) const;
    // The editor that is open, if any.
    QWidget* OpenEditor() const { return m_openEditor; }
    // The table is going away: report nothing more.
    void Detach() { m_table = nullptr; }
    // Names offered while typing (any letter case, anywhere in the name).
    void SetCompletionNames(const QStringList& names) { m_completionNames = names; }
    // The cell an editor of ours edits.
    static int EditorRow(const QWidget* editor);
    static int EditorColumn(const QWidget* editor);

protected:
    // Undo and redo inside the editor end the edit first, then undo in the table.
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    // Marks the editor as reported; false when it already was (or is not one of ours).
    static bool TakeReport(QWidget* editor);

    CEditListCtrl* m_table;
    mutable QPointer<QWidget> m_openEditor;
    QStringList m_completionNames;
};

} // namespace orvik
