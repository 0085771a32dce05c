#include "gamedata/TerrainNoise.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvik::gamedata {

namespace {

// Smoothstep 3t^2 - 2t^3 on 8-bit fractions: no creases along the lattice lines.
const std::array<std::int32_t, 256>& SmoothTable()
{
    static const auto table = [] {
        std::array<std::int32_t, 256> t{};
        for (std::int32_t i = 0; i < 256; ++i)
            t[static_cast<std::size_t>(i)] = (3 * i * i * 256 - 2 * i * i * i) / 65536;
        return t;
    }();
    return table;
}

// diagonal samples the lattice along the grid's diagonals (x + y, y - x): alternating octaves that
// way hides the lattice's grain. Both sums shift by whole periods when x or y wraps, so the noise
// still tiles. size and period are powers of two.
void AddOctave(std::vector<std::int32_t>& sum, int size, int period, std::int32_t amplitude, bool ridged, bool diagonal,
               DemoRandom& rng)
{
    std::vector<std::int32_t> lattice(static_cast<std::size_t>(period) * static_cast<std::size_t>(period));
    for (auto& v : lattice)
        v = rng.Range(0, 4095);
    const auto& smooth = SmoothTable();
    int shift = 0;
    while ((1 << shift) < size)
        ++shift;
    const std::int64_t scale = std::int64_t{period} * 256;
    const int wrap = period - 1;
    const std::int32_t* cells = lattice.data();
    std::int32_t* out = sum.data();

    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const std::int64_t u = diagonal ? x + y : x;
            const std::int64_t v = diagonal ? y - x + size : y;
            const std::int64_t fx = (u * scale) >> shift;
            const std::int64_t fy = (v * scale) >> shift;
            const int x0 = static_cast<int>(fx >> 8) & wrap, x1 = (x0 + 1) & wrap;
            const int r0 = (static_cast<int>(fy >> 8) & wrap) * period, r1 = (((fy >> 8) + 1) & wrap) * period;
            const std::int32_t tx = smooth[static_cast<std::size_t>(fx & 255)];
            const std::int32_t ty = smooth[static_cast<std::size_t>(fy & 255)];
            const std::int32_t a = cells[r0 + x0] + (((cells[r0 + x1] - cells[r0 + x0]) * tx) >> 8);
            const std::int32_t b = cells[r1 + x0] + (((cells[r1 + x1] - cells[r1 + x0]) * tx) >> 8);
            std::int32_t n = a + (((b - a) * ty) >> 8);
            if (ridged)
                n = 4095 - std::abs(2 * n - 4095);
            out[y * size + x] += (n * amplitude) >> 8;
        }
    }
}

} // namespace

void Normalise(std::vector<std::int32_t>& values, std::vector<std::uint16_t>& out)
{
    out.assign(values.size(), 0);
    if (values.empty())
        return;
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    const std::int64_t low = *lo;
    const std::int64_t range = static_cast<std::int64_t>(*hi) - low;
    if (range == 0)
        return;
    for (std::size_t i = 0; i < values.size(); ++i)
        out[i] = static_cast<std::uint16_t>((values[i] - low) * 65535 / range);
}

std::vector<std::uint16_t> FractalNoise(int size, const NoiseShape& shape, DemoRandom& rng)
{
    std::vector<std::int32_t> sum(static_cast<std::size_t>(size) * static_cast<std::size_t>(size), 0);
    std::int32_t amplitude = 256;
    int period = shape.basePeriod;
    for (int octave = 0; octave < shape.octaves && amplitude > 0; ++octave) {
        AddOctave(sum, size, std::min(period, size), amplitude, shape.ridged && octave < 3, octave % 2 == 1, rng);
        amplitude = amplitude * shape.persistencePercent / 100;
        period *= 2;
    }
    std::vector<std::uint16_t> out;
    Normalise(sum, out);
    return out;
}

std::uint32_t HashNoise(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    auto mix = [](std::uint32_t v) {
        v ^= v >> 16;
        v *= 0x7feb352dU;
        v ^= v >> 15;
        v *= 0x846ca68bU;
        v ^= v >> 16;
        return v;
    };
    return mix(x * 0x9E3779B1U ^ mix(y + seed * 0x85EBCA77U));
}

} // namespace orvik::gamedata
