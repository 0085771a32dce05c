#include "exercise/ShadowTable.h"

#include <QtGlobal>

#include <mutex>

namespace orvik::exercise {

namespace {

// The tester reports through the log in its own category; the first report is kept for the check.
std::mutex g_mutex;
std::string g_complaint;
QtMessageHandler g_previous = nullptr;

void Capture(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (context.category != nullptr && QByteArray(context.category) == "qt.modeltest") {
        const std::lock_guard lock(g_mutex);
        if (g_complaint.empty())
            g_complaint = text.toStdString();
        return;
    }
    if (g_previous != nullptr)
        g_previous(type, context, text);
}

} // namespace

ShadowTable::ShadowTable(QAbstractItemModel& model) : m_model(model)
{
    {
        const std::lock_guard lock(g_mutex);
        g_complaint.clear();
    }
    // Installed once for the process: sessions come and go, the handler stays.
    static const bool installed = [] {
        g_previous = qInstallMessageHandler(Capture);
        return true;
    }();
    (void)installed;
    m_tester =
        std::make_unique<QAbstractItemModelTester>(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    m_connections = {
        QObject::connect(
            &model, &QAbstractItemModel::dataChanged,
            [this](const QModelIndex& a, const QModelIndex& b, const QList<int>& roles) { Read(a, b, roles); }),
        QObject::connect(&model, &QAbstractItemModel::headerDataChanged, [this] { ReadTitles(); }),
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { ReadAll(); }),
        QObject::connect(&model, &QAbstractItemModel::layoutChanged, [this] { ReadAll(); }),
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this] { ReadAll(); }),
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [this] { ReadAll(); }),
        QObject::connect(&model, &QAbstractItemModel::columnsInserted, [this] { ReadAll(); }),
        QObject::connect(&model, &QAbstractItemModel::columnsRemoved, [this] { ReadAll(); }),
    };
    ReadAll();
}

ShadowTable::~ShadowTable()
{
    for (const auto& c : m_connections)
        QObject::disconnect(c);
    m_tester.reset();
}

std::string ShadowTable::Complaint() const
{
    const std::lock_guard lock(g_mutex);
    return g_complaint;
}

QString ShadowTable::Title(int column) const
{
    return column < static_cast<int>(m_titles.size()) ? m_titles[static_cast<std::size_t>(column)] : QString();
}

void ShadowTable::ReadAll()
{
    const int rows = m_model.rowCount(), columns = m_model.columnCount();
    m_cells.assign(static_cast<std::size_t>(rows), std::vector<QString>(static_cast<std::size_t>(columns)));
    m_tips.assign(static_cast<std::size_t>(rows), QString());
    m_marks.assign(static_cast<std::size_t>(rows), std::vector<bool>(static_cast<std::size_t>(columns)));
    if (rows > 0 && columns > 0)
        Read(m_model.index(0, 0), m_model.index(rows - 1, columns - 1), {});
    ReadTitles();
}

void ShadowTable::Read(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles)
{
    const bool texts = roles.isEmpty() || roles.contains(Qt::DisplayRole);
    const bool tips = roles.isEmpty() || roles.contains(Qt::ToolTipRole);
    const bool marks = roles.isEmpty() || roles.contains(Qt::BackgroundRole);
    for (int r = topLeft.row(); r <= bottomRight.row() && r < Rows(); ++r) {
        auto& row = m_cells[static_cast<std::size_t>(r)];
        for (int c = topLeft.column(); c <= bottomRight.column() && c < static_cast<int>(row.size()); ++c) {
            if (texts)
                row[static_cast<std::size_t>(c)] = m_model.index(r, c).data(Qt::DisplayRole).toString();
            if (marks)
                m_marks[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] =
                    m_model.index(r, c).data(Qt::BackgroundRole).isValid();
            if (tips && c == 0)
                m_tips[static_cast<std::size_t>(r)] = m_model.index(r, 0).data(Qt::ToolTipRole).toString();
        }
    }
}

void ShadowTable::ReadTitles()
{
    m_titles.clear();
    for (int c = 0; c < m_model.columnCount(); ++c)
        m_titles.push_back(m_model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString());
}

} // namespace orvik::exercise
