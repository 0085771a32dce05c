#pragma once
// The item table's model: a view of the edit document, one row per record and one column per
// title inserted. It keeps no texts of its own; cells are read from the document when drawn.
#include <QAbstractTableModel>

#include <vector>

namespace orvik {

class EditDocument;
struct DocumentChange;

class CItemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CItemTableModel(QObject* parent = nullptr);
    ~CItemTableModel() override;

    // The document to show (not owned; null shows nothing). It must outlive the model or be
    // replaced first.
    void SetDocument(EditDocument* document);
    EditDocument* Document() const { return m_document; }

    // format is the column's text alignment; the edit box over its cells follows it.
    void InsertColumn(int column, const QString& title, Qt::Alignment format);
    Qt::Alignment ColumnFormat(int column) const;
    bool IsEditable(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    void OnDocumentChange(const DocumentChange& change);

    struct Column {
        QString title;
        Qt::Alignment format;
    };

    EditDocument* m_document = nullptr;
    int m_listener = 0;
    std::vector<Column> m_columns;
};

} // namespace orvik
