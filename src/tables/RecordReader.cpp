#include "tables/RecordReader.h"

#include "common/FileError.h"

#include <istream>

namespace orvik::cli {

RecordReader::RecordReader(std::istream& in, char sep, bool quotes, std::string what)
        : m_in(in, what), m_sep(sep), m_quotes(quotes), m_what(std::move(what))
{}

bool RecordReader::Next(std::vector<std::string>& fields)
{
    fields.clear();
    std::string field;
    bool inQuotes = false;
    bool any = false;
    std::size_t bytes = 0;
    m_recordLine = m_line;
    bool closedQuote = false; // a quote just ended a quoted part; another one right after is literal
    for (int got = m_in.Get(); got != EOF; got = m_in.Get()) {
        const char c = static_cast<char>(got);
        any = true;
        if (++bytes > kMaxRecordBytes)
            throw UserError("Line " + std::to_string(m_recordLine) + " of " + m_what + " is longer than " +
                            std::to_string(kMaxRecordBytes >> 20) + " MiB.");
        if (c == '\n')
            ++m_line;
        if (inQuotes) {
            if (c == '"') {
                inQuotes = false;
                closedQuote = true;
            } else {
                field += c;
            }
            continue;
        }
        if (closedQuote) {
            closedQuote = false;
            if (c == '"') {
                field += '"';
                inQuotes = true;
                continue;
            }
        }
        if (m_quotes && c == '"' && field.empty()) {
            inQuotes = true;
        } else if (c == m_sep) {
            fields.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            EndField(field, fields);
            return true;
        } else {
            field += c;
        }
    }
    if (inQuotes)
        throw UserError("A quoted field of " + m_what + " has no end.");
    if (!any)
        return false;
    EndField(field, fields);
    return true;
}

void RecordReader::EndField(std::string& field, std::vector<std::string>& fields)
{
    if (!field.empty() && field.back() == '\r')
        field.pop_back();
    fields.push_back(std::move(field));
}

} // namespace orvik::cli
