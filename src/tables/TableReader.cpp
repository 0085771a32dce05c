#include "tables/TableReader.h"

#include "common/FileError.h"
#include "common/NativePath.h"
#include "common/Text.h"
#include "tables/HeaderLine.h"
#include "tables/RecordReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

namespace orvik::cli {

namespace {

// The columns Save reads, in table order, and the JSON keys that hold them.
constexpr std::array<int, 5> kNeeded = {kColItem, kColX, kColY, kColZ, kColAngle};
constexpr std::array<const char*, 5> kJsonKeys = {"item", "x", "y", "z", "angle"};

const char* Title(int column) { return ItemColumnTitles()[static_cast<std::size_t>(column)]; }

std::string RowName(std::size_t row, std::size_t line)
{
    std::string name = "Row " + std::to_string(row);
    if (line > 0)
        name += " (line " + std::to_string(line) + ")";
    return name;
}

// Whether a text that is no whole number is one as a spreadsheet shows it: digits with a decimal
// part, an exponent or thousands separators (comma, point, apostrophe, spaces of any width).
bool LooksLikeShownNumber(std::string_view text)
{
    static const char* const kSeparators[] = {",", ".", "'", " ", "\xC2\xA0", "\xE2\x80\xAF", "\xE2\x80\x89"};
    if (!text.empty() && (text[0] == '-' || text[0] == '+'))
        text.remove_prefix(1);
    if (text.empty() || text[0] < '0' || text[0] > '9')
        return false;
    bool exponent = false;
    while (!text.empty()) {
        const char c = text[0];
        std::size_t skip = 0;
        if (c >= '0' && c <= '9')
            skip = 1;
        else if ((c == 'E' || c == 'e') && !exponent) {
            exponent = true;
            skip = text.size() > 1 && (text[1] == '+' || text[1] == '-') ? 2 : 1;
        } else
            for (const char* sep : kSeparators)
                if (text.substr(0, std::char_traits<char>::length(sep)) == sep)
                    skip = std::char_traits<char>::length(sep);
        if (skip == 0)
            return false;
        text.remove_prefix(skip);
    }
    return true;
}

// Number cells are passed on as the user wrote them (Save converts them as the editor does), but
// only when they are a whole number in the 32-bit range: anything else would be saved as some
// other value without a word. The digits are ASCII in any encoding; text is converted from
// Windows-1252 for the message only.
void CheckNumberText(const std::string& text, const std::string& rowName, const std::string& what,
                     bool windows1252 = false)
{
    const std::string trimmed = Trim(text);
    std::size_t at = 0;
    const bool negative = !trimmed.empty() && trimmed[0] == '-';
    if (!trimmed.empty() && (trimmed[0] == '-' || trimmed[0] == '+'))
        ++at;
    const char* first = trimmed.data() + at;
    const char* last = trimmed.data() + trimmed.size();
    std::uint64_t magnitude = 0;
    const auto [ptr, ec] = std::from_chars(first, last, magnitude);
    const bool digitsOnly = first != last && ptr == last && *first >= '0' && *first <= '9';
    if (!digitsOnly)
        throw UserError(rowName + ": " + what + " is \"" + (windows1252 ? Cp1252ToUtf8(text) : text) +
                        "\", not a whole number." +
                        (LooksLikeShownNumber(windows1252 ? Cp1252ToUtf8(trimmed) : trimmed)
                             ? " A spreadsheet shows large numbers in short (1.79E+07) or with thousands separators"
                               " (17,910,457): format the column as whole numbers without separators and save again."
                             : ""));
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    if (ec == std::errc::result_out_of_range || magnitude > limit)
        throw UserError(rowName + ": " + what + " is " + trimmed + ", which does not fit in 32 bits.");
}

bool AllEmpty(const std::vector<std::string>& record)
{
    return std::all_of(record.begin(), record.end(), [](const std::string& f) { return f.empty(); });
}

// How the header line was read, for a refusal that names it.
std::string HowRead(const RecordReader& reader)
{
    return std::string("read as ") + EncodingName(reader.Encoding()) + ", with " + SeparatorName(reader.Separator()) +
           " between the columns";
}

TableRows ReadDelimited(std::istream& in, char sep, std::size_t maxRows)
{
    RecordReader reader(in, sep, true);
    const std::string_view firstLine = reader.PeekLine();
    if (firstLine.empty())
        throw UserError("The table is empty: it needs a header line.");
    const SeparatorChoice choice = ChooseSeparator(firstLine, sep);
    if (choice.titles == 0)
        throw UserError(std::string("The table's first line names none of the columns Item, X Position, Y Position, "
                                    "Z Position, Angle: it was read as ") +
                        EncodingName(reader.Encoding()) +
                        ", split at tabs, commas and semicolons. It must be the header line, as orvik items writes it.");
    reader.SetSeparator(choice.sep);
    std::vector<std::string> record;
    reader.Next(record);
    std::array<std::size_t, kColumnCount> where{};
    where.fill(std::string::npos);
    for (std::size_t i = 0; i < record.size(); ++i) {
        const std::optional<int> c = ColumnOfTitle(record[i]);
        if (c && where[static_cast<std::size_t>(*c)] == std::string::npos)
            where[static_cast<std::size_t>(*c)] = i;
    }
    for (int c : kNeeded)
        if (where[static_cast<std::size_t>(c)] == std::string::npos)
            throw UserError(std::string("The table has no column \"") + Title(c) + "\" (its header line was " +
                            HowRead(reader) + ").");

    // The cells stay as read until the whole text has shown whether it is UTF-8.
    TableRows table;
    std::vector<std::pair<std::size_t, std::size_t>> undecided; // row, column
    while (reader.Next(record)) {
        if (AllEmpty(record))
            continue; // a blank line, or a row of empty cells as spreadsheets add them
        if (table.rows.size() == maxRows) {
            table.moreRows = true;
            break;
        }
        const std::string rowName = RowName(table.rows.size() + 1, reader.RecordLine());
        ItemRow row;
        for (int c : kNeeded) {
            const std::size_t at = where[static_cast<std::size_t>(c)];
            if (at >= record.size())
                throw UserError(rowName + " of the table has no \"" + Title(c) + "\" cell.");
            std::string& cell = row[static_cast<std::size_t>(c)];
            cell = std::move(record[at]);
            if (c != kColItem)
                CheckNumberText(cell, rowName, std::string("\"") + Title(c) + "\"",
                                reader.Encoding() == TextEncoding::Windows1252);
            // ASCII is the same in both encodings: only the other cells wait for the verdict.
            if (std::any_of(cell.begin(), cell.end(), [](char ch) { return static_cast<unsigned char>(ch) >= 0x80; }))
                undecided.push_back({table.rows.size(), static_cast<std::size_t>(c)});
        }
        table.rows.push_back(std::move(row));
    }
    table.encoding = reader.Encoding();
    if (table.encoding != TextEncoding::Windows1252)
        for (const auto& [r, c] : undecided)
            table.rows[r][c] = Utf8ToCp1252(table.rows[r][c]);
    return table;
}

// Takes the JSON table event by event: an array of objects, one per item, each with the keys
// of kJsonKeys (others are ignored). Nothing but the rows kept is held in memory.
class JsonRowReader : public nlohmann::json_sax<nlohmann::json> {
public:
    explicit JsonRowReader(std::size_t maxRows) : m_maxRows(maxRows) {}

    TableRows table;

    bool null() override { return Cell(std::nullopt); }
    bool boolean(bool) override { return Cell(std::nullopt); }
    bool number_integer(number_integer_t value) override
    {
        return NumberCell(std::to_string(value), value >= std::numeric_limits<std::int32_t>::min() &&
                                                     value <= std::numeric_limits<std::int32_t>::max());
    }
    bool number_unsigned(number_unsigned_t value) override
    {
        return NumberCell(std::to_string(value),
                          value <= static_cast<number_unsigned_t>(std::numeric_limits<std::int32_t>::max()));
    }
    bool number_float(number_float_t, const string_t&) override { return Cell(std::nullopt); }
    bool string(string_t& value) override
    {
        if (m_depth == 2 && m_key > 0 && m_key < kJsonKeys.size())
            CheckNumberText(value, Row(), std::string("\"") + kJsonKeys[m_key] + "\"");
        return Cell(Utf8ToCp1252(value));
    }
    bool binary(binary_t&) override { return Cell(std::nullopt); }

    bool start_object(std::size_t) override
    {
        if (m_depth == 1) {
            if (table.rows.size() == m_maxRows) {
                table.moreRows = true;
                return false; // stops the parse: the table is longer than the mission
            }
            m_row = ItemRow{};
            m_seen.fill(false);
        } else {
            Container();
        }
        ++m_depth;
        return true;
    }
    bool end_object() override
    {
        if (--m_depth == 1) {
            for (std::size_t k = 0; k < kJsonKeys.size(); ++k)
                if (!m_seen[k])
                    throw UserError(RowName(table.rows.size() + 1, 0) + " of the table has no \"" + kJsonKeys[k] +
                                    "\".");
            table.rows.push_back(std::move(m_row));
        }
        return true;
    }
    bool start_array(std::size_t) override
    {
        if (m_depth > 0)
            Container();
        ++m_depth;
        return true;
    }
    bool end_array() override
    {
        --m_depth;
        return true;
    }
    bool key(string_t& name) override
    {
        if (m_depth == 2) {
            m_key = kJsonKeys.size();
            for (std::size_t k = 0; k < kJsonKeys.size(); ++k)
                if (name == kJsonKeys[k])
                    m_key = k;
        }
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& e) override
    {
        throw UserError(std::string("The table is not valid JSON: ") + e.what());
    }

private:
    std::string Row() const { return RowName(table.rows.size() + 1, 0); }

    // An array or object as a value: fine below a kept key, wrong where a row or a cell belongs.
    void Container()
    {
        if (m_depth == 0)
            throw UserError("The JSON table must be an array of items.");
        if (m_depth == 1)
            throw UserError(Row() + " of the table is not an object.");
        if (m_depth == 2 && m_key < kJsonKeys.size())
            throw UserError(Row() + ": \"" + kJsonKeys[m_key] + "\" must be a whole number or a text.");
    }

    bool NumberCell(std::string text, bool fits)
    {
        if (!fits && m_depth == 2 && m_key < kJsonKeys.size())
            throw UserError(Row() + ": \"" + kJsonKeys[m_key] + "\" is " + text + ", which does not fit in 32 bits.");
        return Cell(std::move(text));
    }

    // A plain value: a cell when it stands under a kept key of a row.
    bool Cell(std::optional<std::string> text)
    {
        if (m_depth == 0)
            throw UserError("The JSON table must be an array of items.");
        if (m_depth == 1)
            throw UserError(Row() + " of the table is not an object.");
        if (m_depth != 2 || m_key >= kJsonKeys.size())
            return true;
        if (!text)
            throw UserError(Row() + ": \"" + kJsonKeys[m_key] + "\" must be a whole number or a text.");
        m_row[static_cast<std::size_t>(kNeeded[m_key])] = std::move(*text);
        m_seen[m_key] = true;
        return true;
    }

    std::size_t m_maxRows;
    std::size_t m_depth = 0;              // containers open
    std::size_t m_key = kJsonKeys.size(); // the kept key being read, or kJsonKeys.size()
    ItemRow m_row;
    std::array<bool, kJsonKeys.size()> m_seen{};
};

TableRows ReadJson(std::istream& in, std::size_t maxRows)
{
    JsonRowReader reader(maxRows);
    const bool whole = nlohmann::json::sax_parse(in, &reader);
    if (!whole && !reader.table.moreRows)
        throw UserError("The table is not valid JSON.");
    return std::move(reader.table);
}

} // namespace

TableRows ReadTableRows(std::istream& in, TableFormat format, std::size_t maxRows)
{
    switch (format) {
    case TableFormat::Tsv: return ReadDelimited(in, '\t', maxRows);
    case TableFormat::Csv: return ReadDelimited(in, ',', maxRows);
    case TableFormat::Json: return ReadJson(in, maxRows);
    }
    throw UserError("Unknown table format.");
}

TableRows ReadTableFile(const std::string& path, TableFormat format, std::size_t maxRows)
{
    if (path == "-") {
        TableRows table = ReadTableRows(std::cin, format, maxRows);
        if (std::cin.bad())
            throw UserError("The table could not be read from standard input.");
        return table;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(PathFromUtf8(path), ec);
    if (std::filesystem::is_directory(status))
        throw UserError("The table " + path + " is a folder, not a file.");
    if (ec && ec != std::errc::no_such_file_or_directory)
        throw UserError("The table " + path + " could not be read: " + ec.message() + ".");
    if (!std::filesystem::exists(status))
        throw UserError("The table " + path + " was not found.");
    errno = 0;
    std::ifstream in(PathFromUtf8(path), std::ios::binary);
    if (!in) {
        const int error = errno;
        throw UserError("The table " + path + " could not be read" +
                        (error ? ": " + std::generic_category().message(error) : std::string()) + ".");
    }
    TableRows table = ReadTableRows(in, format, maxRows);
    if (in.bad())
        throw UserError("The table " + path + " could not be read to its end.");
    return table;
}

} // namespace orvik::cli
