#pragma once
// The item table's rows on the clipboard and back: copied as `orvik items` prints a table, pasted
// from tab-separated text (spreadsheets) or CSV with commas or semicolons. Pasting changes existing rows only, as one step of
// the document; clipboard text is untrusted and read with the limits of `orvik save`'s tables.
#include "edit/EditDocument.h"
#include "edit/RowEdits.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvik {

// The rows (ascending) as UTF-8 tab-separated text: the header line, then the seven columns; a cell
// with a tab, a quote or a line end is quoted, so that it pastes back as one cell.
std::string CopyRowsText(const EditDocument& document, const std::vector<std::size_t>& rows);

// Where a paste goes: the selected rows (ascending) and the current cell, if any.
struct PasteTarget {
    std::vector<std::size_t> selected;
    std::optional<CellRef> current;
};

// Pastes text as one step "Paste, N rows". The text is decoded as `orvik save` decodes a table
// (UTF-8, UTF-16 by its mark, else Windows-1252); quoted cells follow CSV's rules.
// - A first line that names a column is a header, split at the tab, comma or semicolon that gives
//   the most titles: its columns are matched by name (shown-only ones are skipped), and the rows go
//   to the selected rows in order (one row goes to every one of them), or from the current row down
//   when at most one row is selected.
// - Without one: tab-separated when the first line holds a tab, CSV when it holds a quote instead;
//   other text is one column, a cell per line. The block goes to the current cell, right and down.
// A short row leaves the cells it lacks as they are; rows of empty cells after the block are no rows.
// Refused, with the reason and nothing changed: a block that passes the last row or does not match
// the selection, a header that names an unknown column or only shown-only ones, a headerless block
// over a shown-only column or past the last one, text that is no table.
// down: the rows from the current one down as the table shows them (the current one first), when
// it shows a sort or a filter; null: every row from the current one to the last, in file order.
RowsOutcome PasteText(EditDocument& document, std::string_view text, const PasteTarget& target,
                      const std::vector<std::size_t>* down = nullptr);

} // namespace orvik
