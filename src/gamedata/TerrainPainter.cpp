#include "gamedata/TerrainPainter.h"

#include "gamedata/PcxWriter.h"
#include "gamedata/TerrainNoise.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

namespace orvik::gamedata {

namespace {

// Palette layout of a colour map: 6 water depths and 24 land heights, 8 shades each, then 8 shades
// of road and 8 of settlement ground.
constexpr int kShades = 8;
constexpr int kWaterLevels = 6;
constexpr int kLandLevels = 24;
constexpr int kLandBase = kWaterLevels * kShades; // 48
constexpr int kRoadBase = 240;
constexpr int kTownBase = 248;

struct Rgb {
    int r, g, b;
};
struct Stop {
    int at; // 0..255 along the ramp
    Rgb colour;
};

struct LookColours {
    std::vector<Stop> water; // from the deepest water (0) to the shore (255)
    std::vector<Stop> land;  // from the shore (0) to the highest peak (255)
    Rgb road;
    Rgb town;
};

const LookColours& ColoursOf(TerrainLook look)
{
    static const std::array<LookColours, 4> looks = {{
        {{{0, {40, 70, 95}}, {255, {90, 150, 150}}},
         {{0, {205, 185, 135}},
          {30, {226, 198, 142}},
          {120, {220, 176, 112}},
          {180, {190, 140, 88}},
          {225, {150, 105, 70}},
          {255, {120, 90, 70}}},
         {170, 140, 100},
         {185, 160, 120}},
        {{{0, {15, 35, 85}}, {180, {30, 75, 135}}, {255, {70, 130, 165}}},
         {{0, {206, 196, 148}},
          {14, {120, 165, 75}},
          {90, {80, 140, 55}},
          {150, {45, 100, 40}},
          {200, {105, 100, 88}},
          {232, {150, 146, 140}},
          {244, {235, 235, 240}},
          {255, {255, 255, 255}}},
         {150, 125, 90},
         {125, 115, 95}},
        {{{0, {25, 45, 75}}, {255, {85, 120, 145}}},
         {{0, {140, 145, 145}},
          {25, {70, 90, 70}},
          {70, {215, 222, 230}},
          {150, {240, 244, 250}},
          {190, {130, 132, 140}},
          {220, {215, 220, 230}},
          {255, {255, 255, 255}}},
         {160, 150, 140},
         {175, 170, 165}},
        {{{0, {10, 45, 110}}, {150, {20, 95, 155}}, {230, {50, 160, 185}}, {255, {90, 200, 200}}},
         {{0, {238, 222, 172}},
          {20, {232, 214, 160}},
          {35, {130, 190, 80}},
          {120, {50, 140, 50}},
          {190, {35, 100, 40}},
          {225, {120, 112, 92}},
          {255, {165, 158, 148}}},
         {200, 180, 130},
         {170, 150, 110}},
    }};
    return looks[static_cast<std::size_t>(look)];
}

Rgb Ramp(const std::vector<Stop>& stops, int at)
{
    if (at <= stops.front().at)
        return stops.front().colour;
    for (std::size_t i = 1; i < stops.size(); ++i) {
        if (at <= stops[i].at) {
            const Stop& a = stops[i - 1];
            const Stop& b = stops[i];
            const int span = std::max(1, b.at - a.at);
            const int t = at - a.at;
            return {a.colour.r + (b.colour.r - a.colour.r) * t / span,
                    a.colour.g + (b.colour.g - a.colour.g) * t / span,
                    a.colour.b + (b.colour.b - a.colour.b) * t / span};
        }
    }
    return stops.back().colour;
}

void SetShaded(std::array<std::uint8_t, 768>& palette, int index, Rgb c, int percent)
{
    auto channel = [&](int v) { return static_cast<std::uint8_t>(std::clamp(v * percent / 100, 0, 255)); };
    palette[static_cast<std::size_t>(index * 3 + 0)] = channel(c.r);
    palette[static_cast<std::size_t>(index * 3 + 1)] = channel(c.g);
    palette[static_cast<std::size_t>(index * 3 + 2)] = channel(c.b);
}

std::array<std::uint8_t, 768> ColourPalette(TerrainLook look)
{
    const LookColours& colours = ColoursOf(look);
    std::array<std::uint8_t, 768> palette{};
    for (int s = 0; s < kShades; ++s) {
        for (int l = 0; l < kWaterLevels; ++l)
            SetShaded(palette, l * kShades + s, Ramp(colours.water, (2 * l + 1) * 255 / (2 * kWaterLevels)),
                      88 + s * 4);
        for (int l = 0; l < kLandLevels; ++l)
            SetShaded(palette, kLandBase + l * kShades + s, Ramp(colours.land, l * 255 / (kLandLevels - 1)),
                      58 + s * 12);
        SetShaded(palette, kRoadBase + s, colours.road, 70 + s * 8);
        SetShaded(palette, kTownBase + s, colours.town, 55 + s * 10);
    }
    return palette;
}

enum Mask : std::uint8_t { kNone = 0, kRoad = 1, kTown = 2, kHouse = 3 };

void Stamp(std::vector<std::uint8_t>& mask, int size, int cx, int cy, int radius, std::uint8_t value)
{
    for (int y = cy - radius; y <= cy + radius; ++y)
        for (int x = cx - radius; x <= cx + radius; ++x) {
            if (x < 0 || y < 0 || x >= size || y >= size)
                continue;
            if ((x - cx) * (x - cx) + (y - cy) * (y - cy) > radius * radius + radius)
                continue;
            auto& m = mask[static_cast<std::size_t>(y * size + x)];
            m = std::max(m, value);
        }
}

// Roads, then settlements with a few houses, in colour-map pixels.
std::vector<std::uint8_t> PaintMask(const DemoTerrain& terrain, int size, std::uint32_t seed)
{
    std::vector<std::uint8_t> mask(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), kNone);
    auto scale = [&](int mapCoordQuarter) { return mapCoordQuarter * size / (kMapPixels * 4); };
    const int roadRadius = size / 1024;
    for (const auto& road : terrain.roads)
        for (std::size_t i = 1; i < road.size(); ++i) {
            const MapPoint a = road[i - 1], b = road[i];
            const int steps = 4 * std::max({std::abs(b.x - a.x), std::abs(b.y - a.y), 1});
            for (int s = 0; s <= steps; ++s) {
                const int qx = 4 * a.x + (4 * (b.x - a.x) * s) / steps;
                const int qy = 4 * a.y + (4 * (b.y - a.y) * s) / steps;
                Stamp(mask, size, scale(qx), scale(qy), roadRadius, kRoad);
            }
        }
    std::uint32_t n = 0;
    for (const auto& site : terrain.sites) {
        const int cx = scale(4 * site.x), cy = scale(4 * site.y);
        Stamp(mask, size, cx, cy, std::max(1, 6 * size / kMapPixels), kTown);
        const int houses = 3 + static_cast<int>(HashNoise(n, 7, seed) % 5);
        for (int h = 0; h < houses; ++h, ++n) {
            const std::uint32_t r = HashNoise(n, 11, seed);
            const int spread = std::max(1, 4 * size / kMapPixels);
            const int hx = cx + static_cast<int>(r % static_cast<std::uint32_t>(2 * spread + 1)) - spread;
            const int hy = cy + static_cast<int>((r >> 12) % static_cast<std::uint32_t>(2 * spread + 1)) - spread;
            Stamp(mask, size, hx, hy, std::max(0, size / 1024), kHouse);
        }
    }
    return mask;
}

// Light from the north-west: the height difference along the diagonal, in 8.8 shade steps.
std::vector<std::int32_t> ShadeField(const DemoTerrain& terrain)
{
    std::vector<std::int32_t> shade(terrain.heights.size());
    auto h = [&](int x, int y) {
        return static_cast<std::int32_t>(terrain.heights[static_cast<std::size_t>(
            ((y + kMapPixels) % kMapPixels) * kMapPixels + (x + kMapPixels) % kMapPixels)]);
    };
    for (int y = 0; y < kMapPixels; ++y)
        for (int x = 0; x < kMapPixels; ++x) {
            const std::int32_t slope = h(x - 1, y - 1) - h(x + 1, y + 1);
            shade[static_cast<std::size_t>(y * kMapPixels + x)] =
                std::clamp(4 * 256 + slope * 256 / 700, 0, kShades * 256 - 1);
        }
    return shade;
}

} // namespace

std::vector<std::uint8_t> PaintColourMap(const DemoTerrain& terrain, int size, std::uint32_t seed)
{
    const auto shade = ShadeField(terrain);
    const auto mask = PaintMask(terrain, size, seed);
    const std::int32_t water = terrain.waterLevel;
    std::vector<std::uint8_t> indices(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));

    for (int y = 0; y < size; ++y) {
        // Map position in 8.8 fixed point; neighbours wrap like the repeating map.
        const std::int64_t fy = static_cast<std::int64_t>(y) * kMapPixels * 256 / size;
        const int y0 = static_cast<int>(fy >> 8), y1 = (y0 + 1) % kMapPixels;
        const auto ty = static_cast<std::int32_t>(fy & 255);
        for (int x = 0; x < size; ++x) {
            const std::int64_t fx = static_cast<std::int64_t>(x) * kMapPixels * 256 / size;
            const int x0 = static_cast<int>(fx >> 8), x1 = (x0 + 1) % kMapPixels;
            const auto tx = static_cast<std::int32_t>(fx & 255);
            auto bilinear = [&](auto at) {
                const std::int32_t a = at(x0, y0) + (((at(x1, y0) - at(x0, y0)) * tx) >> 8);
                const std::int32_t b = at(x0, y1) + (((at(x1, y1) - at(x0, y1)) * tx) >> 8);
                return a + (((b - a) * ty) >> 8);
            };
            const std::int32_t height = bilinear([&](int cx, int cy) {
                return static_cast<std::int32_t>(terrain.heights[static_cast<std::size_t>(cy * kMapPixels + cx)]);
            });
            const std::int32_t light =
                bilinear([&](int cx, int cy) { return shade[static_cast<std::size_t>(cy * kMapPixels + cx)]; });

            const std::uint32_t noise = HashNoise(static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y), seed);
            const auto dither = static_cast<std::int32_t>(noise & 255);
            const auto dither2 = static_cast<std::int32_t>((noise >> 8) & 255);
            const std::int32_t grain = static_cast<std::int32_t>((noise >> 16) & 511) - 256;
            int s = std::clamp((light + grain + dither2 - 128) >> 8, 0, kShades - 1);

            int index = 0;
            const auto m = mask[static_cast<std::size_t>(y * size + x)];
            if (m == kRoad) {
                index = kRoadBase + s;
            } else if (m == kTown) {
                index = kTownBase + std::max(2, s);
            } else if (m == kHouse) {
                index = kTownBase;
            } else if (height < water * 256) {
                const std::int32_t level = height * kWaterLevels / water; // 8.8 levels
                const int l = std::clamp((level + dither - 128) >> 8, 0, kWaterLevels - 1);
                s = 3 + static_cast<int>((noise >> 26) % 3 == 0);
                index = l * kShades + s;
            } else {
                const std::int32_t level = (height - water * 256) * (kLandLevels - 1) / (256 - water);
                const int l = std::clamp((level + dither - 128) >> 8, 0, kLandLevels - 1);
                index = kLandBase + l * kShades + s;
            }
            indices[static_cast<std::size_t>(y * size + x)] = static_cast<std::uint8_t>(index);
        }
    }
    const auto palette = ColourPalette(terrain.look);
    return EncodePcx8(static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(size), indices, palette, seed);
}

std::vector<std::uint8_t> PaintElevationMap(const DemoTerrain& terrain, std::uint32_t seed)
{
    constexpr int kSize = 256;
    constexpr int kStep = kMapPixels / kSize;
    std::vector<std::uint8_t> indices(kSize * kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            std::int32_t sum = 0;
            for (int dy = 0; dy < kStep; ++dy)
                for (int dx = 0; dx < kStep; ++dx)
                    sum += terrain.heights[static_cast<std::size_t>((y * kStep + dy) * kMapPixels + x * kStep + dx)];
            indices[static_cast<std::size_t>(y * kSize + x)] = static_cast<std::uint8_t>((sum / (kStep * kStep)) >> 8);
        }
    std::array<std::uint8_t, 768> grey{};
    for (std::size_t i = 0; i < 768; ++i)
        grey[i] = static_cast<std::uint8_t>(i / 3);
    return EncodePcx8(kSize, kSize, indices, grey, seed);
}

std::vector<std::uint8_t> PaintDetailMap(const DemoTerrain& terrain, DemoRandom& rng)
{
    constexpr int kSize = 128;
    const auto noise = FractalNoise(kSize, {8, 4, 60, terrain.look == TerrainLook::Snowy}, rng);
    const std::uint32_t seed = rng.Next();
    std::vector<std::uint8_t> indices(kSize * kSize);
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const auto grain = static_cast<std::int32_t>(HashNoise(static_cast<std::uint32_t>(i), 3, seed) & 63) - 32;
        indices[i] = static_cast<std::uint8_t>(std::clamp((noise[i] >> 8) + grain, 0, 255));
    }
    // A tint of the terrain's typical ground, from dark to light.
    const Rgb ground = Ramp(ColoursOf(terrain.look).land, 60);
    std::array<std::uint8_t, 768> palette{};
    for (int i = 0; i < 256; ++i)
        SetShaded(palette, i, ground, 45 + i * 80 / 255);
    return EncodePcx8(kSize, kSize, indices, palette, rng.Next());
}

} // namespace orvik::gamedata
