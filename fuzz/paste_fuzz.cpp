// Any clipboard text, pasted anywhere, must be taken or refused: a refusal changes nothing at all,
// a paste changes only editable cells of existing rows, and undo brings back the rows as they were.
#include "FuzzCheck.h"
#include "tables/Clipboard.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    // Four bytes of set-up: rows in the table, current cell, selected rows (a bit each of the first 8).
    if (size < 4)
        return 0;
    const std::size_t rowCount = data[0] % 12;
    std::vector<ItemRow> rows(rowCount);
    for (std::size_t r = 0; r < rowCount; ++r)
        for (int c = 0; c < kColumnCount; ++c)
            rows[r][static_cast<std::size_t>(c)] = std::to_string(r * 10 + static_cast<std::size_t>(c));
    EditDocument document;
    document.Load(rows);

    PasteTarget target;
    if (data[1] != 0xFF)
        target.current = CellRef{data[1] % (rowCount + 1), data[2] % kColumnCount};
    for (std::size_t r = 0; r < rowCount && r < 8; ++r)
        if (data[3] & (1u << r))
            target.selected.push_back(r);

    const std::string text(reinterpret_cast<const char*>(data) + 4, size - 4);
    const RowsOutcome outcome = PasteText(document, text, target);
    fuzz::Require(document.RowCount() == rowCount, "a paste never adds or removes rows");
    if (!outcome.refusal.empty() || !outcome.changed) {
        fuzz::Require(document.Rows() == rows && !document.CanUndo(), "a refused paste changes nothing");
        return 0;
    }
    for (std::size_t r = 0; r < rowCount; ++r)
        for (int c : {kColId, kColMpOnly})
            fuzz::Require(document.Cell(r, c) == rows[r][static_cast<std::size_t>(c)], "shown-only cells stay");
    document.Undo();
    fuzz::Require(document.Rows() == rows && !document.CanUndo(), "a paste is one step that undo takes back");
    return 0;
}
