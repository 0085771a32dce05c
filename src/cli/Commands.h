#pragma once
// The bodies of the orvik subcommands. Each returns the exit status (0 or 1) and throws
// FileError or UserError, which main turns into a message and status 1.
#include "archive/PffArchive.h"
#include "catalogue/ItemDefList.h"
#include "tables/Tables.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvik::cli {

struct RenderOptions {
    std::string output;
    std::optional<std::pair<std::int32_t, std::int32_t>> center;
    std::vector<std::pair<int, int>> clicks;
    std::vector<std::string> hide;
    bool ids = false;
    int zoom = 1;                    // 1, 2, 4 or 8
    std::vector<std::string> select; // row numbers from 1, as the table counts them
};

int Missions(const std::string& base, bool json);
int Items(const std::string& base, const std::string& mission, const std::string& format, const std::string& catalogue,
          const DelimitedStyle& style = {});
int Save(const std::string& base, const std::string& mission, const std::string& table, const std::string& catalogue,
         bool force, bool backup);
int Export(const std::string& base, const std::string& mission);
int Render(const std::string& base, const std::string& mission, const RenderOptions& options,
           const std::string& catalogue);
int Extract(const std::string& archive, const std::string& entry, const std::string& destDir);
int Pcx(const std::string& input, const std::string& output, const std::string& shrink);
int Demo(const std::string& dir, std::uint32_t seed);

// The mission named on the command line: an entry name (any case; the first matching entry in the
// archive wins), the list's whole text, or @OFFSET. Throws UserError when there is none.
MissionInfo FindMission(const std::string& base, const std::string& wanted);
// items.def from BASE's folder (any letter case) or the given file; a missing one is reported on
// stderr and the catalogue stays empty.
CItemDefList LoadCatalogue(const std::string& base, const std::string& explicitPath);

// "X,Y" pairs of whole numbers; throws UserError.
std::pair<std::int32_t, std::int32_t> ParsePair(const std::string& text, char sep, const char* what);

} // namespace orvik::cli
