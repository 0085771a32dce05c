#include "app/ComboSortedList.h"

#include "app/QtText.h"

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
