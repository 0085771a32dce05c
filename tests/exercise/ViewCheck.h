#pragma once
// What the table's sort and filter promise, checked with a matcher and a comparison of its own:
// the rows shown are exactly those the filter's terms select and they stand in the sort's order,
// except rows edited since the sort or the filter last changed (those stay where they were).
#include "app/EditorDlg.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace orvik::exercise {

// One term as the exerciser types it: a word (column -1) or a column test.
struct PlainTerm {
    int column = -1;
    char op = ':'; // ':' a part, '=' the whole cell or a number, '<', '>', 'r' a range low..high
    std::string text;
    std::int64_t low = 0;
    std::int64_t high = 0;
    bool negated = false;
    // The term as typed into the box.
    std::string Typed() const;
};

class ViewCheck {
public:
    // The filter the box was given: readable (its terms) or not (every row shown).
    void SetFilter(std::vector<PlainTerm> terms, bool readable, std::string text);
    // A load shows every row in file order, with the box empty.
    void Reset();
    void Edited(std::size_t row) { m_edited.insert(row); }
    void ViewChanged() { m_edited.clear(); }
    const std::string& FilterText() const { return m_text; }

    void Check(const CEditorDlg& dialog) const;

private:
    bool Matches(const ItemRow& row) const;
    // Negative, zero or positive as a comes before, with or after b in column's ascending order.
    static int Compare(const ItemRow& a, const ItemRow& b, int column);

    std::vector<PlainTerm> m_terms;
    bool m_readable = true;
    std::string m_text;
    std::set<std::size_t> m_edited;
};

} // namespace orvik::exercise
