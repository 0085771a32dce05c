#include "archive/SortedList.h"

#include "common/Text.h"

#include <stdexcept>

namespace orvik {

int SortedInsertIndex(const std::vector<std::string>& sortedTexts, const std::string& text)
{
    // First place whose text sorts after the new one, so equal texts keep their arrival order.
    std::size_t low = 0;
    std::size_t high = sortedTexts.size();
    while (low < high) {
        const std::size_t mid = low + (high - low) / 2;
        if (CompareFolded(sortedTexts[mid], text) <= 0)
            low = mid + 1;
        else
            high = mid;
    }
    return static_cast<int>(low);
}

int SortedStringList::AddSorted(const std::string& text)
{
    const int index = SortedInsertIndex(m_texts, text);
    m_texts.insert(m_texts.begin() + index, text);
    m_data.insert(m_data.begin() + index, 0);
    return index;
}

void SortedStringList::SetItemData(int index, std::uint32_t data)
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_data.size())
        throw std::out_of_range("SortedStringList::SetItemData: no line " + std::to_string(index));
    m_data[static_cast<std::size_t>(index)] = data;
}

} // namespace orvik
