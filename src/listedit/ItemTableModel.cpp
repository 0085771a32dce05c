#include "listedit/ItemTableModel.h"

#include "common/Text.h"
#include "edit/EditDocument.h"

#include <algorithm>
#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QPalette>
#include <QStyle>

namespace orvik {

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
    return static_cast<int>(m_document->RowCount());
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
    case Qt::EditRole:
        return QString::fromStdString(
            Cp1252ToUtf8(m_document->Cell(static_cast<std::size_t>(index.row()), index.column())));
    case Qt::TextAlignmentRole: return QVariant::fromValue(ColumnFormat(index.column()) | Qt::AlignVCenter);
    case Qt::DecorationRole:
    case Qt::ToolTipRole: {
        const auto row = static_cast<std::size_t>(index.row());
        if (index.column() != 0 || row >= m_marks.size() || m_marks[row].tip.isEmpty())
            return {};
        if (role == Qt::ToolTipRole)
            return m_marks[row].tip;
        return QApplication::style()->standardIcon(m_marks[row].error ? QStyle::SP_MessageBoxCritical
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
        if (!m_missionTip.isEmpty())
            tip += QStringLiteral("\n") + m_missionTip;
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

void ItemTableModel::SetFindings(const std::vector<Finding>& findings)
{
    const std::size_t oldMarks = m_marks.size();
    m_marks.clear();
    m_missionTip.clear();
    m_errors = m_warnings = 0;
    for (const Finding& f : findings) {
        (f.severity == Severity::Error ? m_errors : m_warnings) += 1;
        const QString line = QString::fromStdString(Cp1252ToUtf8(f.message));
        if (f.row && *f.row >= m_marks.size())
            m_marks.resize(*f.row + 1);
        QString& tip = f.row ? m_marks[*f.row].tip : m_missionTip;
        if (f.row && f.severity == Severity::Error)
            m_marks[*f.row].error = true;
        tip += (tip.isEmpty() ? QString() : QStringLiteral("\n")) + line;
    }
    const int rows = rowCount();
    const int last = std::min(rows, static_cast<int>(std::max(oldMarks, m_marks.size()))) - 1;
    if (last >= 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(last, 0), {Qt::DecorationRole, Qt::ToolTipRole});
    if (columnCount() > 0)
        emit headerDataChanged(Qt::Horizontal, 0, 0);
}

void ItemTableModel::OnDocumentChange(const DocumentChange& change)
{
    switch (change.kind) {
    case DocumentChange::Kind::AboutToReset: beginResetModel(); break;
    case DocumentChange::Kind::Reset: endResetModel(); break;
    case DocumentChange::Kind::Cells: {
        if (change.cells.empty() || columnCount() == 0)
            break;
        // One signal for the rectangle around the cells: views repaint only what is visible.
        int top = rowCount(), bottom = -1, left = columnCount(), right = -1;
        for (const CellRef& cell : change.cells) {
            top = std::min(top, static_cast<int>(cell.row));
            bottom = std::max(bottom, static_cast<int>(cell.row));
            left = std::min(left, cell.column);
            right = std::max(right, cell.column);
        }
        right = std::min(right, columnCount() - 1);
        if (left <= right)
            emit dataChanged(index(top, left), index(bottom, right), {Qt::DisplayRole, Qt::EditRole});
        break;
    }
    case DocumentChange::Kind::CleanState: break;
    }
}

} // namespace orvik
