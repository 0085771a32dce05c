#include "archive/SortedList.h"

#include "common/Text.h"

#include <algorithm>
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

void SortedList::AddAllSorted(std::vector<SortedLine> lines)
{
    for (const auto& line : lines)
        SetItemData(AddSorted(line.text), line.data);
}

namespace {

// The comparison of the list is a byte comparison of the folded texts; folding each text once
// keeps a sort of many lines from folding the same text again at every comparison.
std::vector<std::string> FoldAll(const std::vector<std::string>& texts)
{
    std::vector<std::string> folded;
    folded.reserve(texts.size());
    for (const auto& text : texts)
        folded.push_back(FoldLower(text));
    return folded;
}

} // namespace

std::vector<std::size_t> SortedOrder(const std::vector<std::string>& texts)
{
    const std::vector<std::string> keys = FoldAll(texts);
    std::vector<std::size_t> order(texts.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    // std::string compares as unsigned bytes, as CompareFolded does; stable keeps arrival order.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    return order;
}

std::vector<std::size_t> OldTextsBefore(const std::vector<std::string>& sortedTexts,
                                        const std::vector<std::string>& newTexts,
                                        const std::vector<std::size_t>& newOrder)
{
    std::vector<std::size_t> before;
    before.reserve(newOrder.size());
    std::size_t old = 0;
    std::string oldKey = old < sortedTexts.size() ? FoldLower(sortedTexts[old]) : std::string();
    for (const std::size_t index : newOrder) {
        const std::string key = FoldLower(newTexts[index]);
        // A new text goes after the old texts equal to it.
        while (old < sortedTexts.size() && oldKey <= key) {
            ++old;
            if (old < sortedTexts.size())
                oldKey = FoldLower(sortedTexts[old]);
        }
        before.push_back(old);
    }
    return before;
}

void SortedStringList::AddAllSorted(std::vector<SortedLine> lines)
{
    std::vector<std::string> newTexts;
    newTexts.reserve(lines.size());
    for (auto& line : lines)
        newTexts.push_back(std::move(line.text));
    const std::vector<std::size_t> order = SortedOrder(newTexts);
    const std::vector<std::size_t> before = OldTextsBefore(m_texts, newTexts, order);

    std::vector<std::string> texts;
    std::vector<std::uint32_t> data;
    texts.reserve(m_texts.size() + lines.size());
    data.reserve(m_texts.size() + lines.size());
    std::size_t old = 0;
    for (std::size_t j = 0; j < order.size(); ++j) {
        for (; old < before[j]; ++old) {
            texts.push_back(std::move(m_texts[old]));
            data.push_back(m_data[old]);
        }
        texts.push_back(std::move(newTexts[order[j]]));
        data.push_back(lines[order[j]].data);
    }
    for (; old < m_texts.size(); ++old) {
        texts.push_back(std::move(m_texts[old]));
        data.push_back(m_data[old]);
    }
    m_texts = std::move(texts);
    m_data = std::move(data);
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
