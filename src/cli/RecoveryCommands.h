#pragma once
// orvik recovery list and orvik recovery show: the editor's recovery files, without a display.
#include <string>

namespace orvik::cli {

// The folder the editor keeps its recovery files in; throws UserError in a build that cannot
// know it (one without Qt), where --folder names it.
std::string DefaultRecoveryFolder();

// One line per file, oldest first: FILE, ARCHIVE, MISSION, ROWS, TIME, STATE (tab-separated,
// UTF-8). STATE is ready, in use (a running editor holds it), archive gone, damaged or
// other version. Exit status 0.
int RecoveryList(const std::string& folder);
// The mission's table with the file's edits applied, as `orvik items` prints it. Exit status 1 when
// the mission's records changed since the edits were made (said on stderr; the table is printed).
int RecoveryShow(const std::string& file, const std::string& format, const std::string& catalogue);

} // namespace orvik::cli
