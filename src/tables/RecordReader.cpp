#include "tables/RecordReader.h"

#include "common/FileError.h"

#include <istream>

namespace orvik::cli {

CharSource::CharSource(std::istream& in) : m_buf(in.rdbuf())
{
    static const char bom[] = "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < 3; ++i) {
        const int c = m_buf ? m_buf->sgetc() : EOF;
        if (c == EOF || static_cast<char>(c) != bom[i])
            return;
        m_pending.push_back(static_cast<char>(c));
        m_buf->sbumpc();
    }
    m_pending.clear();
}

int CharSource::Get()
{
    if (m_next < m_pending.size())
        return static_cast<unsigned char>(m_pending[m_next++]);
    return m_buf ? m_buf->sbumpc() : EOF;
}

RecordReader::RecordReader(std::istream& in, char sep, bool quotes, std::string what)
    : m_in(in), m_sep(sep), m_quotes(quotes), m_what(std::move(what))
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
