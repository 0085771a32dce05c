#pragma once
// The archive of many missions that the mission-list benchmarks share.
#include "common/Paths.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

inline const orvik::TempDir& ManyMissionsDir()
{
    static const orvik::TempDir dir; // removed with its files at exit
    return dir;
}

// A base archive of count missions, names in no particular order so the sorted insertion works.
// Every tenth title repeats the one before, so equal texts meet in the sort too.
inline const std::string& ManyMissionsArchive(int count)
{
    static std::map<int, std::string> made;
    auto& path = made[count];
    if (!path.empty())
        return path;
    std::vector<orvik::gamedata::PffFile> files;
    files.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        orvik::gamedata::MissionSpec plan;
        // Formatted into buffers: GCC 12 warns falsely (-Wrestrict) on string concatenation at -O3.
        char text[64];
        const int titleNumber = i % 10 == 9 ? i - 1 : i;
        plan.title.assign(text,
                          static_cast<std::size_t>(std::snprintf(text, sizeof text, "Mission number %d", titleNumber)));
        plan.terrainName.assign(text, static_cast<std::size_t>(std::snprintf(text, sizeof text, "t%d.ter", i % 40)));
        plan.seed = static_cast<std::uint32_t>(i);
        const unsigned scrambled = (static_cast<unsigned>(i) * 7919u) % static_cast<unsigned>(count);
        const int n = std::snprintf(text, sizeof text, "M%u.BMS", i % 10 == 9 ? scrambled / 2 : scrambled);
        files.push_back({std::string(text, static_cast<std::size_t>(n)), orvik::gamedata::BuildMission(plan)});
    }
    const std::string p =
        (std::filesystem::path(ManyMissionsDir().Path()) / ("kqbase" + std::to_string(count) + ".pff")).string();
    orvik::gamedata::WritePff(p, files, orvik::gamedata::PffLayout{5, false, 3});
    path = p;
    return path;
}
