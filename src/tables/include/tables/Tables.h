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
// From a file's extension (.tsv, .csv, .json); throws UserError for others.
TableFormat FormatFromPath(const std::string& path);

// Writes the table of model (cell texts as the editor shows them), UTF-8.
void WriteTable(std::ostream& out, const CMissionModel& model, const CItemDefList& catalogue, TableFormat format);

// The same for rows of cell texts (tsv or csv): the header line, then the rows in order.
void WriteTableRows(std::ostream& out, const std::vector<const ItemRow*>& rows, TableFormat format);

// Reads a whole table written by WriteTable (or edited by hand) into the editor's rows, Windows-1252,
// checked as ReadTableRows (cli/TableReader.h) checks it. Throws UserError.
std::vector<ItemRow> ReadTable(const std::string& text, TableFormat format);

} // namespace orvik::cli
