#pragma once
// The check of every mission of a base archive (or of the named ones). It only reads.
#include "catalogue/ItemDefList.h"
#include "check/Finding.h"

#include <string>
#include <vector>

namespace orvik {

struct CheckReport {
    std::vector<Finding> findings; // in archive order, each mission's by row
    std::size_t missionsChecked = 0;
    std::vector<std::string> notFound; // names asked for that no mission has
};

// wanted: entry names (any case) or @OFFSET; empty checks every mission. Damage is reported as
// findings; only an archive that cannot be opened throws FileError.
CheckReport CheckArchive(const std::string& basePath, const CItemDefList& catalogue,
                         const std::vector<std::string>& wanted = {});

std::size_t CountFindings(const std::vector<Finding>& findings, Severity severity);

} // namespace orvik
