#pragma once
// Steps over many rows at once: one text into a column of every chosen row, and a move of
// items' positions. Each is one step of the document.
#include "edit/EditDocument.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik {

// "Paste, 12 rows", "Move, 1 item": a step's text with its count.
std::string StepLabel(const std::string& verb, std::size_t count, const std::string& noun);

// What a step over many rows did: refused (with the reason, and nothing changed), done, or
// nothing to do.
struct RowsOutcome {
    std::string refusal;
    bool changed = false;
    std::vector<std::size_t> clampedRows; // moves only, ascending
};

// Stores text in column of every row as one step "Fill, N rows". Refused when the column is
// shown only or a row is not there.
RowsOutcome FillColumn(EditDocument& document, const std::vector<std::size_t>& rows, int column,
                       const std::string& text);

// Adds (dx, dy, dz) world units to the X, Y and Z cells of rows as one step "Move, N items". A cell
// that holds no whole number is left as it is; a sum outside 32 bits is clamped, and its row
// counted in clampedRows. join: Alone is a step of its own; Open one that the next move may join;
// Join joins the last step if that was left open (EditDocument::MergeCells).
struct MoveOffset {
    std::int64_t dx = 0;
    std::int64_t dy = 0;
    std::int64_t dz = 0;
};
enum class MoveJoin { Alone, Open, Join };
RowsOutcome MoveRows(EditDocument& document, const std::vector<std::size_t>& rows, MoveOffset offset,
                     MoveJoin join = MoveJoin::Alone);

// "Rows 3, 7 and 9 were clamped to the 32-bit range." with rows counted from 1; a long list is cut.
std::string ClampedRowsMessage(const std::vector<std::size_t>& rows);

} // namespace orvik
