#include "tables/Clipboard.h"

#include "common/FileError.h"
#include "common/Text.h"
#include "tables/HeaderLine.h"
#include "tables/RecordReader.h"
#include "tables/Tables.h"

#include <algorithm>
#include <istream>
#include <iterator>
#include <sstream>
#include <streambuf>

namespace orvik {

namespace {

using Record = std::vector<std::string>;

// The clipboard's text read in place, without a copy.
class ViewBuffer : public std::streambuf {
public:
    explicit ViewBuffer(std::string_view text)
    {
        char* first = const_cast<char*>(text.data()); // only ever read
        setg(first, first, first + text.size());
    }
};

// Longer names are cut in messages: a message box is no place for a megabyte of text.
constexpr std::size_t kNameShown = 40;

bool IsBlank(const Record& record)
{
    return std::all_of(record.begin(), record.end(), [](const std::string& f) { return f.empty(); });
}

// Without a header, a tab on the first line makes tab-separated text (what spreadsheets copy);
// without one, a quote there makes CSV. Anything else is a single column, so that a copied name
// such as "Jeep, desert" stays one cell.
char HeaderlessSeparator(std::string_view firstLine)
{
    if (firstLine.find('\t') == std::string_view::npos && firstLine.find('"') != std::string_view::npos)
        return ',';
    return '\t';
}

RowsOutcome Refuse(std::string why) { return {std::move(why), false, {}}; }

std::string Rows(std::size_t count) { return std::to_string(count) + (count == 1 ? " row" : " rows"); }

std::string Shown(const std::string& utf8)
{
    const std::string text = Utf8ToCp1252(utf8);
    return text.size() <= kNameShown ? text : text.substr(0, kNameShown) + "...";
}

std::string SelectionMismatch(const std::string& held, std::size_t selected)
{
    return "The clipboard holds " + held + ", but " + Rows(selected) +
           " are selected. Select as many rows as it holds, or one row to paste from it down.";
}

} // namespace

std::string CopyRowsText(const EditDocument& document, const std::vector<std::size_t>& rows)
{
    std::vector<const ItemRow*> picked;
    picked.reserve(rows.size());
    for (std::size_t row : rows)
        if (row < document.RowCount())
            picked.push_back(&document.Rows()[row]);
    std::ostringstream out;
    cli::WriteTableRows(out, picked, cli::TableFormat::Tsv);
    return out.str();
}

RowsOutcome PasteText(EditDocument& document, std::string_view text, const PasteTarget& target,
                      const std::vector<std::size_t>* down)
{
    ViewBuffer buffer(text);
    std::istream in(&buffer);
    cli::RecordReader reader(in, '\t', true, "the clipboard");
    try {
        const std::string_view firstLine = reader.PeekLine();
        if (firstLine.empty())
            return Refuse("The clipboard holds no text to paste.");
        const cli::SeparatorChoice choice = cli::ChooseSeparator(firstLine, '\t');
        const bool header = choice.titles > 0;
        reader.SetSeparator(header ? choice.sep : HeaderlessSeparator(firstLine));
        Record first;
        reader.Next(first);

        // The column each field fills, or -1 for one that is skipped.
        std::vector<int> columns;
        if (header) {
            std::array<bool, kColumnCount> taken{};
            for (const std::string& field : first) {
                const std::optional<int> column = cli::ColumnOfTitle(field);
                if (!column && !Trim(field).empty())
                    return Refuse("The clipboard's header names the column \"" + Shown(Trim(field)) +
                                  "\", which the table does not have.");
                // A blank title, a shown-only column and a column named twice are skipped, as Save skips them.
                const bool use = column && document.IsEditable(*column) && !taken[static_cast<std::size_t>(*column)];
                if (use)
                    taken[static_cast<std::size_t>(*column)] = true;
                columns.push_back(use ? *column : -1);
            }
            if (std::none_of(taken.begin(), taken.end(), [](bool t) { return t; }))
                return Refuse("The clipboard's header names only columns that are shown only (ID, MP Only): there "
                              "is nothing to paste. Copy the Item, position or Angle columns too.");
        }

        const bool toSelection = header && target.selected.size() > 1;
        if (!toSelection && !target.current)
            return Refuse("Choose the cell to paste at first.");
        const std::size_t start = toSelection ? 0 : target.current->row;
        const std::size_t room = toSelection ? target.selected.size()
                                 : down      ? down->size()
                                             : document.RowCount() - std::min(start, document.RowCount());
        const auto tooMany = [&](const std::string& held) {
            return toSelection ? Refuse(SelectionMismatch(held, room))
                               : Refuse("The clipboard holds " + held + ", which would pass the last row: there " +
                                        (room == 1 ? "is 1 row" : "are " + std::to_string(room) + " rows") +
                                        " from row " + std::to_string(start + 1) + " down, and items cannot be added.");
        };

        // Blank lines and rows of empty cells inside the block are rows; those after it are not.
        std::vector<Record> block;
        std::vector<Record> blanks; // since the last row that holds text, as many as could be rows
        std::size_t blankCount = 0;
        Record record = std::move(first);
        bool more = !header;
        if (header)
            more = reader.Next(record);
        for (; more; more = reader.Next(record)) {
            // No row needs more fields than the table has columns: the rest would only take memory.
            if (header && record.size() > columns.size())
                record.resize(columns.size());
            if (IsBlank(record) && !block.empty()) {
                if (block.size() + ++blankCount <= room)
                    blanks.push_back(std::move(record));
                continue;
            }
            if (block.size() + blankCount + 1 > room)
                return tooMany("more than " + Rows(room));
            if (!header && record.size() > static_cast<std::size_t>(kColumnCount))
                return Refuse("The clipboard's block is wider than the table.");
            std::move(blanks.begin(), blanks.end(), std::back_inserter(block));
            blanks.clear();
            blankCount = 0;
            block.push_back(std::move(record));
        }
        if (block.empty())
            return Refuse("The clipboard holds a header but no rows.");
        if (toSelection && block.size() != 1 && block.size() != room)
            return tooMany(Rows(block.size()));

        if (!header) {
            std::size_t width = 0;
            for (const Record& r : block)
                width = std::max(width, r.size());
            for (std::size_t k = 0; k < width; ++k) {
                const std::size_t column = static_cast<std::size_t>(target.current->column) + k;
                if (column >= static_cast<std::size_t>(kColumnCount))
                    return Refuse("The clipboard's block is " + std::to_string(width) +
                                  " columns wide: from the current cell it would pass the last column.");
                if (!document.IsEditable(static_cast<int>(column)))
                    return Refuse(std::string("The clipboard's block would cover the ") + ItemColumnTitles()[column] +
                                  " column, which is shown only.");
                columns.push_back(static_cast<int>(column));
            }
        }

        const bool windows1252 = reader.Encoding() == cli::TextEncoding::Windows1252;
        const std::size_t count = toSelection ? room : block.size();
        std::vector<CellChange> changes;
        for (std::size_t k = 0; k < count; ++k) {
            const std::size_t row = toSelection ? target.selected[k] : down ? (*down)[k] : start + k;
            const Record& cells = block[block.size() == 1 ? 0 : k];
            for (std::size_t f = 0; f < cells.size(); ++f)
                if (columns[f] >= 0)
                    changes.push_back({row, columns[f], {}, windows1252 ? cells[f] : Utf8ToCp1252(cells[f])});
        }
        return {{}, document.SetCells(changes, StepLabel("Paste", count, "row")), {}};
    } catch (const UserError& e) {
        return Refuse(e.what());
    }
}

} // namespace orvik
