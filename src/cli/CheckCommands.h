#pragma once
// orvik check and orvik diff: print the core's findings and differences.
#include "check/Finding.h"
#include "check/MissionDiff.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace orvik::cli {

// Exit status: 1 when there is an error (or, with strict, any finding), else 0.
int Check(const std::string& base, const std::vector<std::string>& missions, const std::string& format, bool strict,
          const std::string& catalogue);
// A and B are base archives, or ARCHIVE::MISSION. Exit status: 1 when they differ or could not be
// read whole, else 0.
int Diff(const std::string& a, const std::string& b, const std::vector<std::string>& missions,
         const std::string& format, const std::string& catalogue);

// The text form: "MISSION, row N, COLUMN: SEVERITY: MESSAGE" (UTF-8), a summary line last.
void WriteFindingsText(std::ostream& out, const std::vector<Finding>& findings, std::size_t missions);
void WriteFindingsJson(std::ostream& out, const std::vector<Finding>& findings);
// tsv: a header line, then "CHANGE<TAB>MISSION<TAB>ROW<TAB>COLUMN<TAB>OLD<TAB>NEW" (UTF-8).
void WriteDifferencesTsv(std::ostream& out, const std::vector<Difference>& differences);
void WriteDifferencesJson(std::ostream& out, const std::vector<Difference>& differences);

} // namespace orvik::cli
