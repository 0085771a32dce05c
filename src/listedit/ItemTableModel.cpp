#include "listedit/ItemTableModel.h"

#include "common/Text.h"
#include "edit/EditDocument.h"
#include "listedit/RowSorter.h"

#include <algorithm>
#include <tuple>
#include <numeric>
#include <QApplication>
#include <QCollator>
#include <QColor>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QStyle>

namespace orvik {

namespace {

// The sentences of some findings, one a line.
QString Tip(const std::vector<Finding>& findings)
{
    QString tip;
    for (const Finding& f : findings)
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + QString::fromStdString(Cp1252ToUtf8(f.message));
    return tip;
}

} // namespace

ItemTableModel::ItemTableModel(QObject* parent) : QAbstractTableModel(parent) {}

ItemTableModel::~ItemTableModel()
{
    if (m_document != nullptr)
        m_document->Unsubscribe(m_listener);
}

void ItemTableModel::SetDocument(EditDocument* document)
{
    beginResetModel();
    if (m_document != nullptr)
        m_document->Unsubscribe(m_listener);
    m_document = document;
    m_view.Reset(DocumentRowCount());
    m_sortColumn = -1;
    m_order = SortOrder::None;
    m_filtered = false;
    if (m_document != nullptr)
        m_listener = m_document->Subscribe([this](const DocumentChange& change) { OnDocumentChange(change); });
    endResetModel();
}

void ItemTableModel::InsertColumn(int column, const QString& title, Qt::Alignment format)
{
    column = std::clamp(column, 0, columnCount());
    beginInsertColumns({}, column, column);
    m_columns.insert(m_columns.begin() + column, {title, format & Qt::AlignHorizontal_Mask});
    endInsertColumns();
}

Qt::Alignment ItemTableModel::ColumnFormat(int column) const
{
    if (column < 0 || column >= columnCount())
        return Qt::AlignLeft;
    return m_columns[static_cast<std::size_t>(column)].format;
}

bool ItemTableModel::IsEditable(int column) const
{
    return m_document != nullptr && column >= 0 && column < columnCount() && m_document->IsEditable(column);
}

int ItemTableModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || m_document == nullptr)
        return 0;
    return static_cast<int>(m_view.ShownCount());
}

std::size_t ItemTableModel::DocumentRowCount() const { return m_document != nullptr ? m_document->RowCount() : 0; }

int ItemTableModel::ViewRow(std::size_t row) const
{
    const std::size_t view = m_view.ViewPosition(row);
    return view == ViewOrder::kHidden ? -1 : static_cast<int>(view);
}

QString ItemTableModel::CellText(std::size_t row, int column) const
{
    if (m_document == nullptr || row >= m_document->RowCount() || column < 0 || column >= columnCount())
        return {};
    return QString::fromStdString(Cp1252ToUtf8(m_document->Cell(row, column)));
}

void ItemTableModel::SetView(int sortColumn, SortOrder order, const std::function<bool(std::size_t)>& keep)
{
    beginResetModel();
    const std::size_t count = DocumentRowCount();
    if (sortColumn < 0 || sortColumn >= columnCount())
        order = SortOrder::None;
    m_order = order;
    m_sortColumn = order == SortOrder::None ? -1 : sortColumn;
    m_filtered = static_cast<bool>(keep);
    if (!keep && order == SortOrder::None) {
        m_view.Reset(count);
    } else {
        std::vector<std::uint32_t> rows;
        if (keep) {
            for (std::size_t row = 0; row < count; ++row)
                if (keep(row))
                    rows.push_back(static_cast<std::uint32_t>(row));
        } else {
            rows.resize(count);
            std::iota(rows.begin(), rows.end(), std::uint32_t{0});
        }
        if (order != SortOrder::None) {
            QCollator collator;
            collator.setNumericMode(true);
            collator.setCaseSensitivity(Qt::CaseInsensitive);
            SortRows(*m_document, rows, sortColumn, order == SortOrder::Descending, collator);
        }
        m_view.Assign(count, rows);
    }
    endResetModel();
}

int ItemTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ItemTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || m_document == nullptr)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return CellText(DocumentRow(index.row()), index.column());
    case Qt::TextAlignmentRole: return QVariant::fromValue(ColumnFormat(index.column()) | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        // A cell that differs from what the archive holds is tinted until it is saved.
        if (SavedText(index) != nullptr)
            return QColor(kChangedTint);
        return {};
    case Qt::DecorationRole:
    case Qt::ToolTipRole: {
        const std::size_t row = DocumentRow(index.row());
        const std::string* saved = SavedText(index);
        const QString savedTip = saved != nullptr
                                     ? QStringLiteral("saved: ") + QString::fromStdString(Cp1252ToUtf8(*saved))
                                     : QString();
        if (index.column() != 0 || m_findings == nullptr || m_findings->OfRow(row).empty())
            return role == Qt::ToolTipRole && saved != nullptr ? QVariant(savedTip) : QVariant();
        const std::vector<Finding>& findings = m_findings->OfRow(row);
        if (role == Qt::ToolTipRole)
            return saved != nullptr ? Tip(findings) + QStringLiteral("\n") + savedTip : Tip(findings);
        const bool error = std::any_of(findings.begin(), findings.end(),
                                       [](const Finding& f) { return f.severity == Severity::Error; });
        return QApplication::style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                                         : QStyle::SP_MessageBoxWarning);
    }
    case Qt::ForegroundRole:
        // Shown-only cells look like a disabled control's text.
        if (!IsEditable(index.column()))
            return QGuiApplication::palette().color(QPalette::Disabled, QPalette::Text);
        return {};
    default: return {};
    }
}

QVariant ItemTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (section != 0 || FindingCount() == 0) {
        if (role == Qt::DisplayRole)
            return m_columns[static_cast<std::size_t>(section)].title;
    } else if (role == Qt::DisplayRole) {
        // Short, so that the column's usual width shows it; the tooltip spells it out.
        return m_columns[0].title + QStringLiteral(" (%1)").arg(FindingCount());
    } else if (role == Qt::ToolTipRole) {
        QString tip = (m_errors == 1 ? QStringLiteral("1 error") : QStringLiteral("%1 errors").arg(m_errors)) +
                      QStringLiteral(", ") +
                      (m_warnings == 1 ? QStringLiteral("1 warning") : QStringLiteral("%1 warnings").arg(m_warnings));
        if (m_findings != nullptr && !m_findings->OfMission().empty())
            tip += QStringLiteral("\n") + Tip(m_findings->OfMission());
        return tip;
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(ColumnFormat(section) | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags ItemTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditable(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

const std::string* ItemTableModel::SavedText(const QModelIndex& index) const
{
    if (m_document == nullptr || m_document->Saved().Empty())
        return nullptr;
    return m_document->Saved().Saved(DocumentRow(index.row()), index.column());
}

void ItemTableModel::SetFindings(const ItemFindings* findings)
{
    m_findings = findings;
    m_errors = findings != nullptr ? findings->Count(Severity::Error) : 0;
    m_warnings = findings != nullptr ? findings->Count(Severity::Warning) : 0;
    // One signal for the column: views repaint only the rows they show.
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole, Qt::ToolTipRole});
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ItemTableModel::FindingsChanged(const std::vector<std::size_t>& rows)
{
    if (m_findings == nullptr || columnCount() == 0)
        return;
    for (const std::size_t row : rows)
        if (const int view = ViewRow(row); view >= 0) {
            const QModelIndex cell = index(view, 0);
            emit dataChanged(cell, cell, {Qt::DecorationRole, Qt::ToolTipRole});
        }
    const std::size_t errors = m_findings->Count(Severity::Error);
    const std::size_t warnings = m_findings->Count(Severity::Warning);
    if (errors != m_errors || warnings != m_warnings) {
        m_errors = errors;
        m_warnings = warnings;
        emit headerDataChanged(Qt::Horizontal, 0, 0);
    }
}

void ItemTableModel::OnDocumentChange(const DocumentChange& change)
{
    switch (change.kind) {
    case DocumentChange::Kind::AboutToReset: beginResetModel(); break;
    case DocumentChange::Kind::Reset:
        // A load shows every row in file order again.
        m_view.Reset(DocumentRowCount());
        m_sortColumn = -1;
        m_order = SortOrder::None;
        m_filtered = false;
        endResetModel();
        break;
    case DocumentChange::Kind::Cells: {
        if (change.cells.empty() || columnCount() == 0)
            break;
        // One signal per changed row, spanning its changed cells: a step that touches rows far
        // apart does not mark the rows between them.
        std::vector<CellRef> cells = change.cells;
        std::sort(cells.begin(), cells.end(),
                  [](const CellRef& a, const CellRef& b) { return std::tie(a.row, a.column) < std::tie(b.row, b.column); });
        const int last = columnCount() - 1;
        for (std::size_t k = 0; k < cells.size();) {
            std::size_t end = k;
            while (end + 1 < cells.size() && cells[end + 1].row == cells[k].row)
                ++end;
            const int left = std::min(cells[k].column, last);
            const int right = std::min(cells[end].column, last);
            const int row = ViewRow(cells[k].row);
            if (row >= 0)
                emit dataChanged(index(row, left), index(row, right),
                                 {Qt::DisplayRole, Qt::EditRole, Qt::BackgroundRole, Qt::ToolTipRole});
            k = end + 1;
        }
        break;
    }
    case DocumentChange::Kind::CleanState:
        // A save forgets every change mark at once: one signal, and views repaint what they show.
        if (m_document->IsClean() && rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                             {Qt::BackgroundRole, Qt::ToolTipRole});
        break;
    }
}

} // namespace orvik
