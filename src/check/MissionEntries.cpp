#include "check/MissionEntries.h"

#include "archive/MissionQuery.h"
#include "archive/PffArchive.h"
#include "common/FileError.h"
#include "common/Text.h"


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
    return MissionQuery(wanted).Matches(entry.offset, entry.name);
}

} // namespace orvik
