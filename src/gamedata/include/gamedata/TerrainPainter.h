#pragma once
// The images of a demo terrain, encoded as 8-bit PCX files.
#include "gamedata/DemoTerrain.h"

#include <cstdint>
#include <vector>

namespace orvik::gamedata {

// The colour map, size x size: heights through the look's palette with hill shading, roads and
// settlements painted over.
std::vector<std::uint8_t> PaintColourMap(const DemoTerrain& terrain, int size, std::uint32_t seed);

// The depth map: heights as a 256 x 256 grey image.
std::vector<std::uint8_t> PaintElevationMap(const DemoTerrain& terrain, std::uint32_t seed);

// The detail map: a 128 x 128 ground texture tinted like the terrain.
std::vector<std::uint8_t> PaintDetailMap(const DemoTerrain& terrain, DemoRandom& rng);

} // namespace orvik::gamedata
