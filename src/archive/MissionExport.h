#pragma once
// "Get Mission Files": the chosen mission and its terrain files unpacked into the game directory,
// with two one-line repack scripts.
#include <string>

namespace orvik {

struct TerrainNames {
    std::string colorMapFile;
    std::string elevMapFile;
    std::string detailMapFile;
    std::string terrainFile;
};

// The mission name of a mission-list line: the text before its first blank ("" without a blank).
std::string MissionNameFromLine(const std::string& line);

// Extracts the four terrain files from kq.pff and the mission from the base archive into the game
// directory, writes repackmission.bat and repackterrain.bat and returns the summary message.
// Names that are unsafe as file names or in a script throw UserError before any file is written;
// file errors propagate as FileError.
std::string ExportMissionFiles(const std::string& archivePath, const std::string& missionLine,
                               const TerrainNames& names);

} // namespace orvik
