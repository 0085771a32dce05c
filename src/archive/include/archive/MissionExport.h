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

struct ExportResult {
    // The summary when every named file was unpacked; otherwise what was not found first, then
    // what was unpacked.
    std::string message;
    // False when a named file was not in its archive (for instance a missing terrain description).
    bool complete = true;
};

// Extracts the four terrain files from kq.pff and the mission missionName (its entry name) from the
// base archive into the game
// directory, writes repackmission.bat and repackterrain.bat and tells what was unpacked. Each file
// replaces an older one whole, or leaves it as it was. Names that are unsafe as file names or in a
// script, and targets that are symbolic links or not files, throw UserError before any file is
// written; file errors propagate as FileError.
ExportResult ExportMissionFiles(const std::string& archivePath, const std::string& missionName,
                                const TerrainNames& names);

} // namespace orvik
