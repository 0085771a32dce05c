#pragma once
// The item table's model: a view of the edit document, one row per record shown and one column per
// title inserted. It keeps no texts of its own; cells are read from the document when drawn. Model
// rows are view positions: a sort or a filter changes which document row each one shows.
#include "check/ItemFindings.h"
#include "listedit/ViewOrder.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QString>

#include <functional>
#include <string>

#include <vector>

namespace orvik {

class EditDocument;
struct DocumentChange;

class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ItemTableModel(QObject* parent = nullptr);
    ~ItemTableModel() override;

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

    // The check's findings for the rows shown (not owned; null shows none): a row with any gets the
    // icon of the worst in the first column, its sentences as the tooltip; the first column's title
    // counts them all. They are read when drawn.
    void SetFindings(const ItemFindings* findings);
    // The findings of these rows were made again: only they, and the title when the counts moved,
    // are signalled.
    void FindingsChanged(const std::vector<std::size_t>& rows);
    std::size_t FindingCount() const { return m_errors + m_warnings; }
    const ItemFindings* Findings() const { return m_findings; }

    enum class SortOrder { None, Ascending, Descending };
    // Which rows are shown and in what order, computed now (a model reset) and only now: the rows
    // keep passes (every row when keep is empty), sorted by column, or in file order for None.
    // Edits never move or hide a row; a load goes back to every row in file order.
    void SetView(int sortColumn, SortOrder order, const std::function<bool(std::size_t)>& keep);
    int SortColumn() const { return m_sortColumn; }
    SortOrder Order() const { return m_order; }
    bool IsFiltered() const { return m_filtered; }
    const ViewOrder& View() const { return m_view; }
    // The view position of a document row, or -1 while it is hidden; and back.
    int ViewRow(std::size_t row) const;
    std::size_t DocumentRow(int viewRow) const { return m_view.DocumentRow(static_cast<std::size_t>(viewRow)); }
    std::size_t DocumentRowCount() const;
    // A document row's cell as shown, hidden or not.
    QString CellText(std::size_t row, int column) const;
    // The background of a cell whose text differs from the saved one: a pale amber that keeps
    // the text readable in light and dark palettes alike.
    static constexpr QRgb kChangedTint = 0xfff3d08a;

private:
    void OnDocumentChange(const DocumentChange& change);
    // The text the archive holds for a changed cell; null for an unchanged one.
    const std::string* SavedText(const QModelIndex& index) const;

    struct Column {
        QString title;
        Qt::Alignment format;
    };

    EditDocument* m_document = nullptr;
    int m_listener = 0;
    std::vector<Column> m_columns;

    ViewOrder m_view;
    int m_sortColumn = -1;
    SortOrder m_order = SortOrder::None;
    bool m_filtered = false;

    const ItemFindings* m_findings = nullptr;
    // The counts the title shows, as last signalled.
    std::size_t m_errors = 0;
    std::size_t m_warnings = 0;
};

} // namespace orvik
