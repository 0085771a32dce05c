#pragma once
// A list that keeps its texts in the mission list's order: both texts folded to lower case, then
// compared byte by byte; a new text goes after the texts equal to it. The dialog's combo box and
// the command line fill it the same way.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orvik {

class ISortedList {
public:
    virtual ~ISortedList() = default;
    // Inserts text at its sorted place and returns the index it got.
    virtual int AddSorted(const std::string& text) = 0;
    virtual void SetItemData(int index, std::uint32_t data) = 0;
};

// Where text goes among texts that are already in order.
int SortedInsertIndex(const std::vector<std::string>& sortedTexts, const std::string& text);

class SortedStringList : public ISortedList {
public:
    int AddSorted(const std::string& text) override;
    void SetItemData(int index, std::uint32_t data) override;

    std::size_t Size() const { return m_texts.size(); }
    const std::string& Text(std::size_t i) const { return m_texts[i]; }
    std::uint32_t ItemData(std::size_t i) const { return m_data[i]; }
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    std::vector<std::string> m_texts;
    std::vector<std::uint32_t> m_data;
};

} // namespace orvik
