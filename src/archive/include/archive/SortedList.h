#pragma once
// A list that keeps its texts in the mission list's order: both texts folded to lower case, then
// compared byte by byte; a new text goes after the texts equal to it. The dialog's combo box and
// the command line fill it the same way.
#include <cstdint>
#include <string>
#include <vector>

namespace orvik {

// A line of the list: its text and the number it carries (a mission's offset).
struct SortedLine {
    std::string text;
    std::uint32_t data = 0;
};

class SortedList {
public:
    virtual ~SortedList() = default;
    // Inserts text at its sorted place and returns the index it got.
    virtual int AddSorted(const std::string& text) = 0;
    virtual void SetItemData(int index, std::uint32_t data) = 0;
    // Adds the lines in the order AddSorted would give them one by one. This version does just
    // that; lists that can take a block at once override it, since one insert at a time is
    // quadratic for long lists.
    virtual void AddAllSorted(std::vector<SortedLine> lines);
};

// Where text goes among texts that are already in order.
int SortedInsertIndex(const std::vector<std::string>& sortedTexts, const std::string& text);

// The order the list shows texts added one by one in the given order: their indices, first line
// first (a stable sort by the list's comparison, in O(n log n)).
std::vector<std::size_t> SortedOrder(const std::vector<std::string>& texts);

// Where each of the new texts goes among texts already in order, as AddSorted one by one would
// place them: for each new text, in the order SortedOrder(newTexts) gives, the count of old texts
// that come before it. Non-decreasing.
std::vector<std::size_t> OldTextsBefore(const std::vector<std::string>& sortedTexts,
                                        const std::vector<std::string>& newTexts,
                                        const std::vector<std::size_t>& newOrder);

class SortedStringList : public SortedList {
public:
    int AddSorted(const std::string& text) override;
    void SetItemData(int index, std::uint32_t data) override;
    void AddAllSorted(std::vector<SortedLine> lines) override;

    std::size_t Size() const { return m_texts.size(); }
    const std::string& Text(std::size_t i) const { return m_texts[i]; }
    std::uint32_t ItemData(std::size_t i) const { return m_data[i]; }
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    std::vector<std::string> m_texts;
    std::vector<std::uint32_t> m_data;
};

} // namespace orvik
