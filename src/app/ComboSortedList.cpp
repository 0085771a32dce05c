#include "app/ComboSortedList.h"

#include "app/QtText.h"

#include <QStandardItemModel>

namespace orvik {

ComboSortedList::ComboSortedList(QComboBox& combo) : m_combo(combo)
{
    m_texts.reserve(static_cast<std::size_t>(combo.count()));
    for (int i = 0; i < combo.count(); ++i)
        m_texts.push_back(FromQt(combo.itemText(i)));
}

int ComboSortedList::AddSorted(const std::string& text)
{
    const int index = SortedInsertIndex(m_texts, text);
    m_texts.insert(m_texts.begin() + index, text);
    m_combo.insertItem(index, ToQt(text));
    return index;
}

void ComboSortedList::AddAllSorted(std::vector<SortedLine> lines)
{
    std::vector<std::string> newTexts;
    newTexts.reserve(lines.size());
    for (const auto& line : lines)
        newTexts.push_back(line.text);
    const std::vector<std::size_t> order = SortedOrder(newTexts);
    const std::vector<std::size_t> before = OldTextsBefore(m_texts, newTexts, order);

    auto* model = qobject_cast<QStandardItemModel*>(m_combo.model());
    std::vector<std::string> texts;
    texts.reserve(m_texts.size() + lines.size());
    std::size_t old = 0;
    for (std::size_t first = 0; first < order.size();) {
        // A run: the new lines that share one place among the old ones.
        std::size_t last = first;
        while (last < order.size() && before[last] == before[first])
            ++last;
        for (; old < before[first]; ++old)
            texts.push_back(std::move(m_texts[old]));
        const int at = static_cast<int>(texts.size());
        if (model) {
            QList<QStandardItem*> items;
            items.reserve(static_cast<qsizetype>(last - first));
            for (std::size_t j = first; j < last; ++j) {
                auto* item = new QStandardItem(ToQt(newTexts[order[j]]));
                item->setData(QVariant::fromValue<quint32>(lines[order[j]].data), Qt::UserRole);
                items.append(item);
            }
            model->invisibleRootItem()->insertRows(at, items);
        } else {
            QStringList block;
            block.reserve(static_cast<qsizetype>(last - first));
            for (std::size_t j = first; j < last; ++j)
                block.append(ToQt(newTexts[order[j]]));
            m_combo.insertItems(at, block);
            for (std::size_t j = first; j < last; ++j)
                m_combo.setItemData(at + static_cast<int>(j - first),
                                    QVariant::fromValue<quint32>(lines[order[j]].data));
        }
        for (std::size_t j = first; j < last; ++j)
            texts.push_back(std::move(newTexts[order[j]]));
        first = last;
    }
    for (; old < m_texts.size(); ++old)
        texts.push_back(std::move(m_texts[old]));
    m_texts = std::move(texts);
}

void ComboSortedList::SetItemData(int index, std::uint32_t data)
{
    if (index >= 0 && index < m_combo.count())
        m_combo.setItemData(index, QVariant::fromValue<quint32>(data));
}

std::uint32_t ComboSortedList::ItemData(const QComboBox& combo, int index)
{
    return combo.itemData(index).value<quint32>();
}

} // namespace orvik
