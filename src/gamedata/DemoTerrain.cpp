#include "gamedata/DemoTerrain.h"

#include "gamedata/TerrainNoise.h"
#include "gamedata/TerrainPainter.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvik::gamedata {

namespace {

char UpperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::string Upper(std::string text)
{
    for (char& c : text)
        c = UpperChar(c);
    return text;
}

constexpr std::size_t kCells = static_cast<std::size_t>(kMapPixels) * kMapPixels;

std::vector<std::uint16_t> MakeHeights(TerrainLook look, DemoRandom& rng)
{
    std::vector<std::int32_t> sum(kCells, 0);
    auto add = [&](const NoiseShape& shape, std::int32_t weight) {
        const auto noise = FractalNoise(kMapPixels, shape, rng);
        for (std::size_t i = 0; i < kCells; ++i)
            sum[i] += noise[i] * weight / 16;
    };
    switch (look) {
    case TerrainLook::Desert:
        add({4, 7, 45, false}, 13);
        add({16, 3, 40, true}, 3); // dune crests
        break;
    case TerrainLook::Temperate: add({4, 7, 52, false}, 16); break;
    case TerrainLook::Snowy:
        add({4, 7, 50, false}, 8);
        add({8, 5, 50, true}, 8); // mountain ridges
        break;
    case TerrainLook::Island: {
        add({8, 6, 50, false}, 16);
        // Sink the land towards the edges so the sea surrounds it and the repeated map has no seam.
        const std::int64_t r2 = 232 * 232;
        for (int y = 0; y < kMapPixels; ++y)
            for (int x = 0; x < kMapPixels; ++x) {
                const std::int64_t dx = x - 256, dy = y - 256;
                const std::int64_t fall = std::max<std::int64_t>(0, r2 - dx * dx - dy * dy) * 65536 / r2;
                auto& v = sum[static_cast<std::size_t>(y * kMapPixels + x)];
                v = static_cast<std::int32_t>(v * 6 / 10 + fall * 5 / 10);
            }
        break;
    }
    }
    std::vector<std::uint16_t> heights;
    Normalise(sum, heights);
    return heights;
}

// The height below which the wanted share of the map (in tenths of a percent) lies under water.
int WaterLevelFor(const std::vector<std::uint16_t>& heights, int permille)
{
    std::array<std::size_t, 256> histogram{};
    for (auto h : heights)
        ++histogram[h >> 8];
    const std::size_t wanted = heights.size() * static_cast<std::size_t>(permille) / 1000;
    std::size_t below = 0;
    for (int level = 0; level < 255; ++level) {
        below += histogram[static_cast<std::size_t>(level)];
        if (below >= wanted)
            return std::max(level + 1, 1);
    }
    return 255;
}

std::vector<MapPoint> PickSites(const DemoTerrain& terrain, DemoRandom& rng)
{
    const int target = rng.Range(5, 8);
    const int highest = terrain.waterLevel + (255 - terrain.waterLevel) * 7 / 10;
    std::vector<MapPoint> sites;
    for (int spacing : {64, 32, 12}) {
        for (int attempt = 0; attempt < 3000 && static_cast<int>(sites.size()) < target; ++attempt) {
            const MapPoint p{rng.Range(24, kMapPixels - 25), rng.Range(24, kMapPixels - 25)};
            const int h = terrain.HeightAt(p.x, p.y);
            if (h < terrain.waterLevel + 4 || h > highest)
                continue;
            const bool crowded = std::any_of(sites.begin(), sites.end(), [&](const MapPoint& s) {
                return std::abs(s.x - p.x) + std::abs(s.y - p.y) < spacing;
            });
            if (!crowded)
                sites.push_back(p);
        }
        if (sites.size() >= 3)
            break;
    }
    if (sites.empty()) {
        // Not a single gentle spot: settle on the highest ground, which is land by construction.
        const auto top = std::max_element(terrain.heights.begin(), terrain.heights.end()) - terrain.heights.begin();
        sites.push_back({static_cast<int>(top % kMapPixels), static_cast<int>(top / kMapPixels)});
    }
    return sites;
}

void Meander(const MapPoint& a, const MapPoint& b, int depth, DemoRandom& rng, std::vector<MapPoint>& out)
{
    if (depth == 0) {
        out.push_back(b);
        return;
    }
    const int dx = b.x - a.x, dy = b.y - a.y;
    const int length = std::max({std::abs(dx), std::abs(dy), 1});
    const auto offset = static_cast<int>(rng.Around(std::max(1, length / 6)));
    MapPoint mid{(a.x + b.x) / 2 - dy * offset / length, (a.y + b.y) / 2 + dx * offset / length};
    mid.x = std::clamp(mid.x, 0, kMapPixels - 1);
    mid.y = std::clamp(mid.y, 0, kMapPixels - 1);
    Meander(a, mid, depth - 1, rng, out);
    Meander(mid, b, depth - 1, rng, out);
}

// Roads join the sites in a chain, each to its nearest unvisited neighbour.
std::vector<std::vector<MapPoint>> PlanRoads(const std::vector<MapPoint>& sites, DemoRandom& rng)
{
    std::vector<std::vector<MapPoint>> roads;
    std::vector<bool> visited(sites.size(), false);
    std::size_t current = 0;
    visited[0] = true;
    for (std::size_t step = 1; step < sites.size(); ++step) {
        std::size_t best = current;
        int bestDistance = 1 << 30;
        for (std::size_t i = 0; i < sites.size(); ++i) {
            const int d = std::abs(sites[i].x - sites[current].x) + std::abs(sites[i].y - sites[current].y);
            if (!visited[i] && d < bestDistance) {
                best = i;
                bestDistance = d;
            }
        }
        std::vector<MapPoint> road{sites[current]};
        Meander(sites[current], sites[best], 3, rng, road);
        roads.push_back(std::move(road));
        visited[best] = true;
        current = best;
    }
    return roads;
}

const char* const kNames[4][3] = {
    {"dunes", "kessar", "saltpan"},
    {"valley", "moorland", "greenvale"},
    {"fjord", "tundra", "glacier"},
    {"isles", "atoll", "reef"},
};

const char* const kSkies[4] = {"sky_dusk", "sky_clear", "sky_overcast", "sky_tropic"};

// The description: the three map keys among other settings, in an order and spacing that vary.
std::string Describe(const DemoTerrain& terrain, DemoRandom& rng)
{
    // Values in capitals now and then: the editor folds the line before it takes the value.
    auto value = [&](const char* suffix) {
        const std::string v = terrain.baseName + suffix;
        return rng.Chance(30) ? Upper(v) : v;
    };
    auto separator = [&]() -> std::string {
        switch (rng.Range(0, 4)) {
        case 0: return "\t";
        case 1: return "    ";
        case 2: return " \t ";
        default: return " ";
        }
    };
    auto trailer = [&]() -> std::string { return rng.Chance(25) ? (rng.Chance(50) ? "   " : "\t") : ""; };

    std::vector<std::string> lines = {
        "color_map" + separator() + value("_c") + trailer(),
        "elev_map" + separator() + value("_e") + trailer(),
        "detail_map" + separator() + value("_d") + trailer(),
        std::string("sky ") + kSkies[static_cast<int>(terrain.look)],
        "fog_color " + std::to_string(rng.Range(120, 230)) + " " + std::to_string(rng.Range(120, 230)) + " " +
            std::to_string(rng.Range(120, 240)),
        "fog_range " + std::to_string(rng.Range(800, 2000)) + " " + std::to_string(rng.Range(6000, 12000)),
        "water_level " + std::to_string(terrain.waterLevel),
        "sun_angle " + std::to_string(rng.Range(20, 70)),
        "",
        "; tile scale in metres",
        "tile_scale " + std::to_string(rng.Range(2, 8)),
    };
    rng.Shuffle(lines);
    const char* eol = rng.Chance(50) ? "\r\n" : "\n";
    std::string text = "# Tarnhold terrain: " + terrain.baseName + eol;
    for (const auto& line : lines)
        text += line + eol;
    return text;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

} // namespace

int DemoTerrain::HeightAt(int x, int y) const
{
    const int cx = ((x % kMapPixels) + kMapPixels) % kMapPixels;
    const int cy = ((y % kMapPixels) + kMapPixels) % kMapPixels;
    return heights[static_cast<std::size_t>(cy * kMapPixels + cx)] >> 8;
}

std::string VaryCase(const std::string& name, DemoRandom& rng)
{
    std::string out = name;
    const int style = rng.Range(0, 2);
    if (style == 0)
        return out;
    const auto dot = out.rfind('.');
    for (std::size_t i = 0; i < out.size(); ++i) {
        const bool upper =
            style == 1 || i == 0 || (dot != std::string::npos && i > dot) || (i > 0 && out[i - 1] == '_');
        if (upper)
            out[i] = UpperChar(out[i]);
    }
    return out;
}

DemoTerrain BuildDemoTerrain(TerrainLook look, int colorMapSize, DemoRandom& rng)
{
    static constexpr int kWaterPermille[4] = {40, 220, 280, 560};
    const int lookIndex = static_cast<int>(look);

    DemoTerrain terrain;
    terrain.look = look;
    terrain.baseName = kNames[lookIndex][rng.Range(0, 2)];
    terrain.heights = MakeHeights(look, rng);
    terrain.waterLevel = WaterLevelFor(terrain.heights, kWaterPermille[lookIndex]);
    terrain.sites = PickSites(terrain, rng);
    terrain.roads = PlanRoads(terrain.sites, rng);
    terrain.descName = VaryCase(terrain.baseName + ".ter", rng);

    terrain.files.push_back({terrain.descName, Bytes(Describe(terrain, rng))});
    terrain.files.push_back(
        {VaryCase(terrain.baseName + "_c.pcx", rng), PaintColourMap(terrain, colorMapSize, rng.Next())});
    terrain.files.push_back({VaryCase(terrain.baseName + "_e.pcx", rng), PaintElevationMap(terrain, rng.Next())});
    terrain.files.push_back({VaryCase(terrain.baseName + "_d.pcx", rng), PaintDetailMap(terrain, rng)});
    return terrain;
}

} // namespace orvik::gamedata
