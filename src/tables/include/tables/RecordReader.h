#pragma once
// Delimited text split into records of fields, one record at a time, for the tables of `orvik save`
// and for the clipboard. Every record is bounded, so text without line ends costs no more memory
// than kMaxRecordBytes.
#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvik::cli {

// No sound table has records this long.
constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

// Characters of a stream, with a leading UTF-8 byte order mark (spreadsheets write one) dropped.
class CharSource {
public:
    explicit CharSource(std::istream& in);
    // The next character, or EOF.
    int Get();

private:
    std::streambuf* m_buf;
    std::string m_pending;
    std::size_t m_next = 0;
};

// csv honours quotes; tsv fields are taken as they stand. A CR before LF is dropped; a last line
// without a line end counts. Faults throw UserError naming what is read ("the table").
class RecordReader {
public:
    RecordReader(std::istream& in, char sep, bool quotes, std::string what = "the table");

    // The next record; false at the end of the text.
    bool Next(std::vector<std::string>& fields);
    // The line the last record started on, from 1.
    std::size_t RecordLine() const { return m_recordLine; }

private:
    static void EndField(std::string& field, std::vector<std::string>& fields);

    CharSource m_in;
    char m_sep;
    bool m_quotes;
    std::string m_what;
    std::size_t m_line = 1;
    std::size_t m_recordLine = 1;
};

} // namespace orvik::cli
