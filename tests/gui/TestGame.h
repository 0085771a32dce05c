#pragma once
// A small game directory for the dialog tests, written with the gamedata writers: a catalogue,
// kqbase.pff with four missions (and a file that is not a mission) and kq.pff with one terrain.
#include "mission/MissionItem.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::test {

// One map pixel in world units.
inline constexpr std::int32_t kUnit = 131072;

// Kind ids of the catalogue (file numbers less 100000).
inline constexpr std::int32_t kSoldier = 5001;   // People
inline constexpr std::int32_t kTree = 1001;      // Decorations
inline constexpr std::int32_t kTruck = 2001;     // Vehicles
inline constexpr std::int32_t kBunker = 3001;    // Buildings
inline constexpr std::int32_t kCrate = 4001;     // Objects
inline constexpr std::int32_t kWaypoint = 6001;  // Markers
inline constexpr std::int32_t kMapCenter = 6500; // Markers, and its name holds "Center"
inline constexpr std::int32_t kUnknown = 7000;   // not in the catalogue

struct TestMission {
    std::string entry; // as stored in the archive
    std::string line;  // as the mission list shows it
    std::vector<CMissionItem> items;
    std::uint32_t offset = 0; // of its data in kqbase.pff
};

class TestGame {
public:
    // Writes the game into dir (which ends with '/'); withCatalogue false leaves items.def out.
    explicit TestGame(const std::string& dir, bool withCatalogue = true);

    std::string dir;
    std::string basePath;               // dir + "kqbase.pff"
    std::vector<std::uint8_t> colorMap; // the bytes of dunes_c.pcx
    std::vector<std::uint8_t> elevMap;
    std::vector<std::uint8_t> detailMap;
    std::string description; // the terrain description's text

    // In the mission list's order: alpha, bravo, charlie, r&d.
    std::vector<TestMission> missions;
    const TestMission& Alpha() const { return missions[0]; }
    const TestMission& Bravo() const { return missions[1]; }
};

// Where an item at world (x, y) lands on the map frame with the view centre in map pixels.
struct FramePoint {
    int x;
    int y;
};
FramePoint FrameOf(std::int32_t worldX, std::int32_t worldY, int centerX, int centerY);

// The record word of item i of a mission as it stands in the file.
std::int32_t RecordWord(const std::string& archivePath, std::uint32_t missionOffset, int item, int word);

} // namespace orvik::test
