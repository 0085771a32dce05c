#pragma once
// Delimited text split into records of fields, one record at a time, for the tables of `orvik save`
// and for the clipboard. Every record is bounded, so text without line ends costs no more memory
// than kMaxRecordBytes.
#include "tables/CharSource.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace orvik::cli {

// No sound table has records this long.
constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;

// With quotes, a field that starts with one is quoted as in CSV, whatever the separator; without,
// fields are taken as they stand. A CR before LF is dropped; a last line without a line end counts.
// The text is decoded as CharSource says. Faults throw UserError naming what is read ("the table").
class RecordReader {
public:
    RecordReader(std::istream& in, char sep, bool quotes, std::string what = "the table");

    // The next record; false at the end of the text.
    bool Next(std::vector<std::string>& fields);
    // The line the last record started on, from 1.
    std::size_t RecordLine() const { return m_recordLine; }
    // The next line as it stands, unread, for choosing the separator before it is split.
    std::string_view PeekLine() { return m_in.PeekLine(kMaxRecordBytes); }
    void SetSeparator(char sep) { m_sep = sep; }
    char Separator() const { return m_sep; }
    // What the text read so far is (see CharSource); the fields are UTF-8 unless it is Windows-1252.
    TextEncoding Encoding() const { return m_in.Encoding(); }

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
