#pragma once
// Reading an edited item table back for Save, row by row, with every cell Save needs checked
// before anything is written. Reading stops once the table has proved longer than the mission,
// so a huge table costs neither time nor memory.
#include "tables/CharSource.h"
#include "tables/Tables.h"

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

namespace orvik::cli {

struct TableRows {
    std::vector<ItemRow> rows; // Windows-1252 texts
    bool moreRows = false;     // a row after the first maxRows was seen; reading stopped there
    TextEncoding encoding = TextEncoding::Utf8; // what the text read was found to be
};

// Reads at most maxRows rows from in, in any encoding CharSource finds. The separator is the one
// that splits the header line into column titles (tab, comma or semicolon; format's own wins a tie),
// and columns are found by those titles; ID and MP Only are not needed. Rows of empty cells are
// blank lines. Throws UserError naming the row when a row lacks one of the cells Save
// reads, or when a position or angle is not a whole number that fits in 32 bits (signed).
TableRows ReadTableRows(std::istream& in, TableFormat format, std::size_t maxRows);

// The same from a file, or tsv from standard input when path is "-". A folder, a missing or an
// unreadable file throws UserError naming it.
TableRows ReadTableFile(const std::string& path, TableFormat format, std::size_t maxRows);

} // namespace orvik::cli
