#pragma once
// What a view of the item table shows, kept only from the model's signals: the cells' texts and
// change marks, the first column's tooltips and the column titles are read when a signal names them, never
// otherwise. A change the model does not signal leaves the shadow behind the document. The model
// is also watched by Qt's own model tester, whose complaints are kept.
#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QMetaObject>
#include <QString>

#include <memory>
#include <string>
#include <vector>

namespace orvik::exercise {

class ShadowTable {
public:
    explicit ShadowTable(QAbstractItemModel& model);
    ~ShadowTable();
    ShadowTable(const ShadowTable&) = delete;
    ShadowTable& operator=(const ShadowTable&) = delete;

    int Rows() const { return static_cast<int>(m_cells.size()); }
    const QString& Cell(int row, int column) const
    {
        return m_cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    const QString& Tip(int row) const { return m_tips[static_cast<std::size_t>(row)]; }
    // The cell has a background: it is marked as changed since the last save.
    bool Marked(int row, int column) const
    {
        return m_marks[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    }
    QString Title(int column) const;
    // The model tester's first complaint since the shadow began ("" when none).
    std::string Complaint() const;

private:
    void ReadAll();
    void Read(const QModelIndex& topLeft, const QModelIndex& bottomRight, const QList<int>& roles);
    void ReadTitles();

    QAbstractItemModel& m_model;
    std::vector<std::vector<QString>> m_cells;
    std::vector<QString> m_tips;
    std::vector<std::vector<bool>> m_marks;
    std::vector<QString> m_titles;
    std::vector<QMetaObject::Connection> m_connections;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

} // namespace orvik::exercise
