#pragma once
// Noise for the demo terrains, in integer arithmetic so that a seed gives the same maps on every
// compiler and processor.
#include "gamedata/DemoRandom.h"

#include <cstdint>
#include <vector>

namespace orvik::gamedata {

struct NoiseShape {
    int basePeriod = 4;          // lattice cells across the grid in the first octave (a power of two)
    int octaves = 6;             // each doubles the cells
    int persistencePercent = 50; // amplitude of each octave relative to the one before
    bool ridged = false;         // fold the noise around its middle: sharp crests
};

// Fractal value noise on a size x size grid (size a power of two) that tiles seamlessly, so that
// the repeating map shows no seam. Values are spread over 0..65535.
std::vector<std::uint16_t> FractalNoise(int size, const NoiseShape& shape, DemoRandom& rng);

// A well mixed hash of a grid position: grain and dithering without any state.
std::uint32_t HashNoise(std::uint32_t x, std::uint32_t y, std::uint32_t seed);

// Spreads values over 0..65535 (a flat field becomes all 0).
void Normalise(std::vector<std::int32_t>& values, std::vector<std::uint16_t>& out);

} // namespace orvik::gamedata
