#include "tables/Tables.h"

#include "tables/TableReader.h"

#include "common/FileError.h"
#include "common/Text.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <ostream>
#include <sstream>

namespace orvik::cli {

namespace {

// A cell that holds the separator, a quote or a line end is quoted, its quotes doubled, as
// spreadsheets write it in CSV and in tab-separated text alike: it then reads back as one cell.
std::string QuotedField(const std::string& text, char sep)
{
    if (text.find_first_of(std::string{sep, '"', '\r', '\n'}) == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

char SeparatorOf(TableFormat format, const DelimitedStyle& style)
{
    return style.sep ? style.sep : format == TableFormat::Tsv ? '\t' : ',';
}

void WriteDelimitedRow(std::ostream& out, const ItemRow& row, TableFormat format, const DelimitedStyle& style)
{
    const char sep = SeparatorOf(format, style);
    for (std::size_t c = 0; c < row.size(); ++c) {
        if (c)
            out << sep;
        out << QuotedField(Cp1252ToUtf8(row[c]), sep);
    }
    out << (style.spreadsheet ? "\r\n" : "\n");
}

void WriteHeader(std::ostream& out, TableFormat format, const DelimitedStyle& style)
{
    if (style.spreadsheet)
        out << "\xEF\xBB\xBF"; // the byte-order mark by which spreadsheet programs know UTF-8
    ItemRow header;
    for (int c = 0; c < kColumnCount; ++c)
        header[static_cast<std::size_t>(c)] = ItemColumnTitles()[static_cast<std::size_t>(c)];
    WriteDelimitedRow(out, header, format, style);
}

} // namespace

TableFormat ParseFormat(const std::string& name)
{
    if (name == "tsv")
        return TableFormat::Tsv;
    if (name == "csv")
        return TableFormat::Csv;
    if (name == "json")
        return TableFormat::Json;
    throw UserError("Unknown table format \"" + name + "\": use tsv, csv or json.");
}

TableFormat FormatFromPath(const std::string& path)
{
    const std::string lower = FoldLower(path);
    auto endsWith = [&](const std::string& s) {
        return lower.size() >= s.size() && lower.compare(lower.size() - s.size(), s.size(), s) == 0;
    };
    // Spreadsheets save tab-separated text as .txt; the header line tells the separator in any case.
    if (path == "-" || endsWith(".tsv") || endsWith(".txt"))
        return TableFormat::Tsv;
    if (endsWith(".csv"))
        return TableFormat::Csv;
    if (endsWith(".json"))
        return TableFormat::Json;
    throw UserError("Cannot tell the table format of \"" + path + "\": name it .tsv, .txt, .csv or .json.");
}

void WriteTable(std::ostream& out, const CMissionModel& model, const CItemDefList& catalogue, TableFormat format,
                const DelimitedStyle& style)
{
    if (format == TableFormat::Json) {
        nlohmann::json rows = nlohmann::json::array();
        for (const auto& item : model.items) {
            rows.push_back({{"item", Cp1252ToUtf8(catalogue.GetNameById(item->m_nId))},
                            {"kind", item->m_nId},
                            {"x", item->m_nX},
                            {"y", item->m_nY},
                            {"z", item->m_nZ},
                            {"angle", item->m_nAngle},
                            {"id", item->m_nNumber},
                            {"flags", item->m_nFlags},
                            {"mpOnly", item->IsMpOnly()}});
        }
        out << rows.dump(2) << '\n';
        return;
    }
    WriteHeader(out, format, style);
    for (const auto& item : model.items)
        WriteDelimitedRow(out, ItemToRow(*item, catalogue), format, style);
}

void WriteTableRows(std::ostream& out, const std::vector<const ItemRow*>& rows, TableFormat format)
{
    WriteHeader(out, format, {});
    for (const ItemRow* row : rows)
        WriteDelimitedRow(out, *row, format, {});
}

std::vector<ItemRow> ReadTable(const std::string& text, TableFormat format)
{
    std::istringstream in(text);
    return ReadTableRows(in, format, std::numeric_limits<std::size_t>::max()).rows;
}

} // namespace orvik::cli
