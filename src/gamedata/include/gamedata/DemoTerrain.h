#pragma once
// One terrain of the demo game: its heights, the settlements and roads on it, and the files that
// kq.pff holds for it (description, colour map, depth map, detail map).
#include "gamedata/DemoRandom.h"
#include "gamedata/PffWriter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace orvik::gamedata {

enum class TerrainLook { Desert, Temperate, Snowy, Island };

// Map pixels: the colour map covers 512 x 512 of them whatever its own size.
inline constexpr int kMapPixels = 512;
inline constexpr std::int32_t kWorldPerPixel = 131072;
inline constexpr std::int32_t kWorldExtent = kMapPixels * kWorldPerPixel; // 67108864

struct MapPoint {
    int x = 0; // column, east
    int y = 0; // row, south: world Y = -y * 131072
};

struct DemoTerrain {
    TerrainLook look = TerrainLook::Temperate;
    std::string baseName;               // "dunes": the maps are dunes_c, dunes_e, dunes_d
    std::string descName;               // the description's entry name as stored, e.g. "Dunes.TER"
    int waterLevel = 0;                 // heights below it (0..255) are water
    std::vector<std::uint16_t> heights; // kMapPixels squared, 0..65535
    std::vector<MapPoint> sites;        // towns and bases, on land
    std::vector<std::vector<MapPoint>> roads;
    std::vector<PffFile> files; // entries for kq.pff

    // Height 0..255 at a map pixel; positions outside the map wrap, as the map view repeats it.
    int HeightAt(int x, int y) const;
    bool IsLand(int x, int y) const { return HeightAt(x, y) >= waterLevel; }
};

// Builds a terrain with a colour map of colorMapSize square. Uses only rng for its choices.
DemoTerrain BuildDemoTerrain(TerrainLook look, int colorMapSize, DemoRandom& rng);

// The name in one of the letter cases the game's files come in: lower, upper, or capitalised name
// with an upper-case extension ("Dunes_C.PCX").
std::string VaryCase(const std::string& name, DemoRandom& rng);

} // namespace orvik::gamedata
