#include "check/MissionEntries.h"

#include "archive/PffArchive.h"
#include "common/FileError.h"
#include "common/Text.h"

#include <charconv>

namespace orvik {

MissionEntries ReadMissionEntries(File& archive)
{
    MissionEntries result;
    const std::int64_t length = archive.Length(); // a file that did not open fails here, not as damage
    CPffArchive reader;
    try {
        reader.WalkEntries(archive, [&](const PffEntry& entry) {
            MissionEntry mission;
            mission.name = FoldLower(entry.name);
            if (!Contains(mission.name, ".bms"))
                return true;
            mission.offset = entry.dataOffset;
            mission.size = entry.dataSize;
            mission.inside =
                entry.dataOffset >= 0 && static_cast<std::int64_t>(entry.dataOffset) + entry.dataSize <= length;
            result.missions.push_back(std::move(mission));
            return true;
        });
    } catch (const FileError& e) {
        result.damage = e.Message();
    }
    return result;
}

bool MissionMatches(const MissionEntry& entry, const std::string& wanted)
{
    if (!wanted.empty() && wanted[0] == '@') {
        std::int64_t offset = 0;
        const char* first = wanted.data() + 1;
        const char* last = wanted.data() + wanted.size();
        const auto [ptr, ec] = std::from_chars(first, last, offset);
        return ec == std::errc() && ptr == last && first != last && offset == entry.offset;
    }
    return FoldLower(Utf8ToCp1252(wanted)) == entry.name;
}

} // namespace orvik
