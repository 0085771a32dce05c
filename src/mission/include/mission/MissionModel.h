#pragma once
// The mission being edited: its item records and the names of its terrain files.
#include "archive/MissionExport.h"
#include "common/File.h"
#include "mission/MissionItem.h"
#include "mission/TerrainView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace orvik {

// What a load found wrong without failing; the callers tell the user.
struct LoadReport {
    bool itemsDamaged = false;                 // records ran to the end of the file without an end mark
    bool terrainMissing = false;               // the terrain description is not in kq.pff
    bool colorMapMissing = false;              // the colour map is not in kq.pff (or no colour map is named)
    std::optional<MapRefusal> colorMapRefused; // why the colour map could not be decoded to show
    // What the message needs to name.
    std::size_t itemCount = 0; // the items loaded
    std::string terrainFile;   // the terrain description looked for
    std::string colorMapFile;  // the colour map looked for ("" when none is named)
};

class CMissionModel {
public:
    static constexpr std::int64_t kTitleOffset = 4;
    static constexpr std::int64_t kTerrainNameOffset = 84;
    static constexpr std::int64_t kItemsOffset = 264;

    virtual ~CMissionModel();

    std::vector<std::unique_ptr<CMissionItem>> items;
    TerrainNames terrain; // the description's name and the three map names it gives
    // The record bytes as the last ReadItems found them (word 0 included), or as the last save
    // wrote them: a save compares them with the disk to see whether someone else changed it.
    std::vector<std::uint8_t> loadedRecords;

    // Reads to the end of the file: a mission file of its own, or an archive whose entry is unknown.
    static constexpr std::uint64_t kToEndOfFile = ~std::uint64_t{0};

    void Clear();
    // Appends the records from missionOffset + 264 up to the end mark, never reading past the
    // mission's entry (entrySize bytes from missionOffset) nor the file. Records that reach the
    // end of either without an end mark are kept whole; the return value is false then.
    bool ReadItems(File& archive, std::uint32_t missionOffset, std::uint64_t entrySize = kToEndOfFile);
    // Writes every item, in order, as the records from missionOffset + 264; nothing else.
    void WriteItems(File& archive, std::uint32_t missionOffset) const;

    // Clear, ReadItems, ReadTerrainInfo, then the colour map reaches mapView through a scratch
    // file in a private temporary folder. Never writes into the game directory.
    LoadReport Load(File& archiveFile, std::uint32_t missionOffset, std::string archivePath, TerrainView& mapView,
                    std::uint64_t entrySize = kToEndOfFile);
    // Sets terrain.terrainFile from the mission and the three map names from its description in kq.pff.
    // Returns false when the description is not there (the three map names are then empty).
    bool ReadTerrainInfo(File& archiveFile, std::uint32_t missionOffset, std::string archivePath);
};

// The user's words for a LoadReport ("" when nothing is wrong). name is the mission's entry name.
std::string LoadReportMessage(const LoadReport& report, const std::string& missionName);

// Reads the three map names from the text of a terrain description (the keys by "contains", the
// value being the line less the key's length, trimmed, ".pcx" added). Stops once all three keys
// were seen. Keys not found give "".
TerrainNames ParseTerrainDescription(const std::string& text);

} // namespace orvik
