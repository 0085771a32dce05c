#include "cli/Tables.h"

#include "common/FileError.h"
#include "common/Text.h"

#include <nlohmann/json.hpp>

#include <array>
#include <ostream>

namespace orvik::cli {

namespace {

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// Splits delimited text into records of fields. csv honours quotes; tsv fields are taken as they
// stand. A CR before LF is dropped; a last line without a line end counts.
std::vector<std::vector<std::string>> SplitRecords(const std::string& text, char sep, bool quotes)
{
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> fields;
    std::string field;
    bool inQuotes = false;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        any = true;
        if (quotes && inQuotes) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
            continue;
        }
        if (quotes && c == '"' && field.empty()) {
            inQuotes = true;
        } else if (c == sep) {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            if (!field.empty() && field.back() == '\r')
                field.pop_back();
            fields.push_back(std::move(field));
            field.clear();
            records.push_back(std::move(fields));
            fields.clear();
            any = false;
        } else {
            field += c;
        }
    }
    if (inQuotes)
        throw UserError("The table ends inside a quoted field.");
    if (any) {
        if (!field.empty() && field.back() == '\r')
            field.pop_back();
        fields.push_back(std::move(field));
        records.push_back(std::move(fields));
    }
    return records;
}

// The columns Save reads, in table order.
constexpr std::array<int, 5> kNeeded = {kColItem, kColX, kColY, kColZ, kColAngle};

std::vector<ItemRow> RowsFromRecords(const std::vector<std::vector<std::string>>& records)
{
    if (records.empty())
        throw UserError("The table is empty: it needs a header line.");
    const auto& header = records.front();
    std::array<int, kColumnCount> where{};
    where.fill(-1);
    for (std::size_t i = 0; i < header.size(); ++i) {
        const std::string name = Trim(header[i]);
        for (int c = 0; c < kColumnCount; ++c)
            if (name == ItemColumnTitles()[static_cast<std::size_t>(c)] && where[static_cast<std::size_t>(c)] < 0)
                where[static_cast<std::size_t>(c)] = static_cast<int>(i);
    }
    for (int c : kNeeded)
        if (where[static_cast<std::size_t>(c)] < 0)
            throw UserError(std::string("The table has no column \"") + ItemColumnTitles()[static_cast<std::size_t>(c)] +
                            "\".");
    std::vector<ItemRow> rows;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const auto& rec = records[r];
        if (rec.size() == 1 && rec[0].empty())
            continue;  // blank line
        ItemRow row;
        for (int c = 0; c < kColumnCount; ++c) {
            const int at = where[static_cast<std::size_t>(c)];
            if (at >= 0 && static_cast<std::size_t>(at) < rec.size())
                row[static_cast<std::size_t>(c)] = Utf8ToCp1252(rec[static_cast<std::size_t>(at)]);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string JsonCell(const nlohmann::json& value, const char* key, std::size_t index)
{
    if (!value.contains(key))
        throw UserError("Row " + std::to_string(index + 1) + " of the table has no \"" + key + "\".");
    const auto& v = value.at(key);
    if (v.is_string())
        return Utf8ToCp1252(v.get<std::string>());
    if (v.is_number_integer())
        return std::to_string(v.get<long long>());
    throw UserError("Row " + std::to_string(index + 1) + ": \"" + key + "\" must be a whole number or a text.");
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
    if (path == "-" || endsWith(".tsv"))
        return TableFormat::Tsv;
    if (endsWith(".csv"))
        return TableFormat::Csv;
    if (endsWith(".json"))
        return TableFormat::Json;
    throw UserError("Cannot tell the table format of \"" + path + "\": name it .tsv, .csv or .json.");
}

void WriteTable(std::ostream& out, const CMissionModel& model, const CItemDefList& catalogue, TableFormat format)
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
    const char sep = format == TableFormat::Tsv ? '\t' : ',';
    auto writeRow = [&](const ItemRow& row) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c)
                out << sep;
            const std::string text = Cp1252ToUtf8(row[c]);
            out << (format == TableFormat::Csv ? CsvField(text) : text);
        }
        out << '\n';
    };
    ItemRow header;
    for (int c = 0; c < kColumnCount; ++c)
        header[static_cast<std::size_t>(c)] = ItemColumnTitles()[static_cast<std::size_t>(c)];
    writeRow(header);
    for (const auto& item : model.items)
        writeRow(ItemToRow(*item, catalogue));
}

std::vector<ItemRow> ReadTable(const std::string& input, TableFormat format)
{
    // Spreadsheets often start a saved text file with a byte order mark.
    const std::string text = input.rfind("\xEF\xBB\xBF", 0) == 0 ? input.substr(3) : input;
    if (format == TableFormat::Tsv)
        return RowsFromRecords(SplitRecords(text, '\t', false));
    if (format == TableFormat::Csv)
        return RowsFromRecords(SplitRecords(text, ',', true));

    nlohmann::json doc;
    try {
        doc = nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        throw UserError(std::string("The table is not valid JSON: ") + e.what());
    }
    if (!doc.is_array())
        throw UserError("The JSON table must be an array of items.");
    std::vector<ItemRow> rows;
    for (std::size_t i = 0; i < doc.size(); ++i) {
        const auto& v = doc[i];
        if (!v.is_object())
            throw UserError("Row " + std::to_string(i + 1) + " of the table is not an object.");
        ItemRow row;
        row[kColItem] = JsonCell(v, "item", i);
        row[kColX] = JsonCell(v, "x", i);
        row[kColY] = JsonCell(v, "y", i);
        row[kColZ] = JsonCell(v, "z", i);
        row[kColAngle] = JsonCell(v, "angle", i);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace orvik::cli
