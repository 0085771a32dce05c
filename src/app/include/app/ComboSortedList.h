#pragma once
// The mission combo box seen as a sorted list: texts go in at the mission list's own place (folded,
// byte order), not Qt's locale order, and each line carries its mission offset as item data.
#include "archive/SortedList.h"

#include <QComboBox>

#include <string>
#include <vector>

namespace orvik {

class ComboSortedList : public SortedList {
public:
    // Mirrors the lines the combo box holds already.
    explicit ComboSortedList(QComboBox& combo);

    int AddSorted(const std::string& text) override; // text in Windows-1252
    void SetItemData(int index, std::uint32_t data) override;
    // Inserts the new lines in blocks between the lines already there, each line made with its
    // item data, so a long list fills in O(n log n) rather than one insert (and one shift) a line.
    void AddAllSorted(std::vector<SortedLine> lines) override;

    // The item data of a line (0 for a line without any).
    static std::uint32_t ItemData(const QComboBox& combo, int index);

private:
    QComboBox& m_combo;
    std::vector<std::string> m_texts;
};

} // namespace orvik
