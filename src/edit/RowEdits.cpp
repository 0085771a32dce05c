#include "edit/RowEdits.h"

#include "common/Text.h"

#include <algorithm>
#include <limits>

namespace orvik {

namespace {

// Past this many the message names the first ones and counts the rest.
constexpr std::size_t kRowsNamed = 10;
constexpr std::int64_t kReach = std::int64_t{1} << 33;

} // namespace

std::string StepLabel(const std::string& verb, std::size_t count, const std::string& noun)
{
    return verb + ", " + std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

RowsOutcome FillColumn(EditDocument& document, const std::vector<std::size_t>& rows, int column,
                       const std::string& text)
{
    if (column < 0 || column >= kColumnCount)
        return {"There is no column to fill.", false, {}};
    if (!document.IsEditable(column))
        return {std::string("The ") + ItemColumnTitles()[static_cast<std::size_t>(column)] +
                    " column is shown only: it cannot be filled.",
                false,
                {}};
    std::vector<CellChange> changes;
    changes.reserve(rows.size());
    for (std::size_t row : rows) {
        if (row >= document.RowCount())
            return {"Row " + std::to_string(row + 1) + " is not there.", false, {}};
        changes.push_back({row, column, {}, text});
    }
    return {{}, document.SetCells(changes, StepLabel("Fill", rows.size(), "row")), {}};
}

RowsOutcome MoveRows(EditDocument& document, const std::vector<std::size_t>& rows, MoveOffset offset, MoveJoin join)
{
    RowsOutcome outcome;
    std::vector<CellChange> changes;
    const std::pair<int, std::int64_t> axes[] = {{kColX, offset.dx}, {kColY, offset.dy}, {kColZ, offset.dz}};
    for (std::size_t row : rows) {
        bool clamped = false;
        for (const auto& [column, delta] : axes) {
            const std::optional<std::int32_t> value = ParseInt32(document.Cell(row, column));
            if (delta == 0 || !value)
                continue;
            // Offsets come from the user and may be huge; past kReach every sum leaves 32 bits anyway.
            const std::int64_t sum = *value + std::clamp(delta, -kReach, kReach);
            const std::int64_t kept = std::clamp<std::int64_t>(sum, std::numeric_limits<std::int32_t>::min(),
                                                               std::numeric_limits<std::int32_t>::max());
            clamped = clamped || kept != sum;
            changes.push_back({row, column, {}, FormatLong(static_cast<std::int32_t>(kept))});
        }
        if (clamped)
            outcome.clampedRows.push_back(row);
    }
    const std::string label = StepLabel("Move", rows.size(), "item");
    outcome.changed = join == MoveJoin::Alone ? document.SetCells(changes, label)
                                              : document.MergeCells(changes, label, join == MoveJoin::Join);
    std::sort(outcome.clampedRows.begin(), outcome.clampedRows.end());
    return outcome;
}

std::string ClampedRowsMessage(const std::vector<std::size_t>& rows)
{
    if (rows.empty())
        return {};
    std::string list;
    const std::size_t named = std::min(rows.size(), kRowsNamed);
    for (std::size_t k = 0; k < named; ++k) {
        if (k > 0)
            list += k + 1 == named && named == rows.size() ? " and " : ", ";
        list += std::to_string(rows[k] + 1);
    }
    if (named < rows.size())
        list += " and " + std::to_string(rows.size() - named) + " more";
    return (rows.size() == 1 ? "Row " + list + " was" : "Rows " + list + " were") +
           " moved only as far as the 32-bit range allows.";
}

} // namespace orvik
