#pragma once
// The item table as text for the command line: tsv, csv and json, out and in.
#include "catalogue/ItemDefList.h"
#include "mission/ItemRows.h"
#include "mission/MissionModel.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvik::cli {

enum class TableFormat { Tsv, Csv, Json };

// "tsv", "csv" or "json"; throws UserError otherwise.
TableFormat ParseFormat(const std::string& name);
// From a file's extension (.tsv or .txt, .csv, .json); throws UserError for others.
TableFormat FormatFromPath(const std::string& path);

// How tsv and csv are written: the separator (the format's own when 0) and, for spreadsheet
// programs, which then open the file without asking, a UTF-8 byte-order mark and CRLF line ends.
struct DelimitedStyle {
    char sep = 0;
    bool spreadsheet = false;
};

// Writes the table of model (cell texts as the editor shows them), UTF-8. A cell holding the
// separator, a quote or a line end is quoted, in tsv as in csv.
void WriteTable(std::ostream& out, const CMissionModel& model, const CItemDefList& catalogue, TableFormat format,
                const DelimitedStyle& style = {});

// The same for rows of cell texts (tsv or csv): the header line, then the rows in order.
void WriteTableRows(std::ostream& out, const std::vector<const ItemRow*>& rows, TableFormat format);

// Reads a whole table written by WriteTable (or edited by hand) into the editor's rows, Windows-1252,
// checked as ReadTableRows (cli/TableReader.h) checks it. Throws UserError.
std::vector<ItemRow> ReadTable(const std::string& text, TableFormat format);

} // namespace orvik::cli
