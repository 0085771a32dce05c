// Speed of the image support: decoding terrain colour maps and halving them for the map view.
//
// The inputs are made at start-up: terrain-like 8-bit and 24-bit maps. With ORVIK_PCX_BENCH_DIR
// set, they are written into that folder and kept there (bench/compare_pcx.sh times other
// decoders on the same files); otherwise they go to a temporary folder removed at exit.
#include "gamedata/PcxWriter.h"
#include "image/Bitmap.h"
#include "image/Pcx.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
using orvik::PackedImage;

// Smooth value noise in [0, 1): random values on a lattice, blended with a smoothstep,
// several octaves.
class ValueNoise {
public:
    explicit ValueNoise(std::uint32_t seed)
    {
        std::mt19937 rng(seed);
        for (auto& v : m_values)
            v = static_cast<float>(rng() & 0xFFFF) / 65536.0F;
    }

    float At(float x, float y) const
    {
        float sum = 0, weight = 0, amplitude = 1;
        for (int octave = 0; octave < 5; ++octave) {
            sum += amplitude * Octave(x, y);
            weight += amplitude;
            x *= 2.03F;
            y *= 2.03F;
            amplitude *= 0.5F;
        }
        return sum / weight;
    }

private:
    float Lattice(int x, int y) const
    {
        const auto h = static_cast<std::uint32_t>(x) * 73856093U ^ static_cast<std::uint32_t>(y) * 19349663U;
        return m_values[h & 1023];
    }
    float Octave(float x, float y) const
    {
        const float fx = std::floor(x), fy = std::floor(y);
        const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
        float tx = x - fx, ty = y - fy;
        tx = tx * tx * (3 - 2 * tx);
        ty = ty * ty * (3 - 2 * ty);
        const float top = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
        const float bottom = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
        return top + (bottom - top) * ty;
    }
    float m_values[1024];
};

// Water, sand, grass, rock and snow, as a terrain colour map's palette would run.
std::array<std::uint8_t, 768> TerrainPalette()
{
    struct Stop {
        int index, r, g, b;
    };
    const Stop stops[] = {{0, 10, 30, 90},    {15, 30, 70, 150},    {16, 200, 190, 130},  {40, 90, 150, 60},
                          {140, 40, 100, 40}, {200, 120, 110, 100}, {240, 200, 200, 200}, {255, 255, 255, 255}};
    std::array<std::uint8_t, 768> palette{};
    for (std::size_t s = 0; s + 1 < std::size(stops); ++s) {
        const Stop a = stops[s], b = stops[s + 1];
        for (int i = a.index; i <= b.index; ++i) {
            const float t = b.index == a.index ? 0.0F : float(i - a.index) / float(b.index - a.index);
            palette[i * 3] = static_cast<std::uint8_t>(a.r + (b.r - a.r) * t);
            palette[i * 3 + 1] = static_cast<std::uint8_t>(a.g + (b.g - a.g) * t);
            palette[i * 3 + 2] = static_cast<std::uint8_t>(a.b + (b.b - a.b) * t);
        }
    }
    return palette;
}

// Palette indices of a terrain map: flat water (long runs), land shaded with a little grain
// (mostly single bytes and short runs), as rendered colour maps look.
std::vector<std::uint8_t> TerrainIndices(std::uint32_t size, std::uint32_t seed)
{
    const ValueNoise noise(seed);
    std::mt19937 grain(seed + 1);
    std::vector<std::uint8_t> indices(std::size_t{size} * size);
    const float scale = 8.0F / static_cast<float>(size);
    for (std::uint32_t y = 0; y < size; ++y)
        for (std::uint32_t x = 0; x < size; ++x) {
            const float h = noise.At(static_cast<float>(x) * scale, static_cast<float>(y) * scale);
            int index = 8;
            if (h >= 0.42F)
                index = std::min(255, 16 + static_cast<int>((h - 0.42F) * 520.0F) + static_cast<int>(grain() % 3));
            indices[std::size_t{y} * size + x] = static_cast<std::uint8_t>(index);
        }
    return indices;
}

PackedImage TerrainColours(std::uint32_t size, std::uint32_t seed)
{
    const auto indices = TerrainIndices(size, seed);
    const auto palette = TerrainPalette();
    std::mt19937 grain(seed + 2);
    PackedImage image{size, size, std::vector<std::uint8_t>(indices.size() * 3)};
    for (std::size_t i = 0; i < indices.size(); ++i) {
        const int jitter = indices[i] == 8 ? 0 : static_cast<int>(grain() % 5) - 2;
        for (int c = 0; c < 3; ++c)
            image.pixels[i * 3 + c] =
                static_cast<std::uint8_t>(std::clamp(palette[indices[i] * 3 + c] + jitter, 0, 255));
    }
    return image;
}

void WriteFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

// The input files, made once, on first use.
class Inputs {
public:
    Inputs()
    {
        if (const char* dir = std::getenv("ORVIK_PCX_BENCH_DIR"); dir && *dir) {
            m_dir = dir;
            fs::create_directories(m_dir);
        } else {
            m_dir = fs::temp_directory_path() / ("orvik-image-bench-" + std::to_string(std::random_device{}()));
            fs::create_directories(m_dir);
            m_temporary = true;
        }
        const auto palette = TerrainPalette();
        WriteFile(Path("terrain8_1024"), orvik::gamedata::EncodePcx8(1024, 1024, TerrainIndices(1024, 7), palette));
        WriteFile(Path("terrain8_8192"), orvik::gamedata::EncodePcx8(8192, 8192, TerrainIndices(8192, 8), palette));
        m_colours = TerrainColours(1024, 9);
        WriteFile(Path("terrain24_1024"), orvik::gamedata::EncodePcx24(m_colours));
        // One-pixel files: other decoders' start-up cost is timed on these.
        WriteFile(Path("tiny8_1"), orvik::gamedata::EncodePcx8(1, 1, {0}, palette));
        WriteFile(Path("tiny24_1"), orvik::gamedata::EncodePcx24(PackedImage{1, 1, {1, 2, 3}}));
    }
    ~Inputs()
    {
        if (m_temporary) {
            std::error_code ec;
            fs::remove_all(m_dir, ec);
        }
    }
    std::string Path(const std::string& name) const { return (m_dir / (name + ".pcx")).string(); }
    const PackedImage& Colours() const { return m_colours; }

private:
    fs::path m_dir;
    bool m_temporary = false;
    PackedImage m_colours;
};

const Inputs& GetInputs()
{
    static const Inputs inputs;
    return inputs;
}

void LoadFile(benchmark::State& state, const std::string& name)
{
    const std::string path = GetInputs().Path(name);
    std::uint32_t w = 0, h = 0;
    for (auto _ : state) {
        auto image = orvik::LoadPcxImage(path, w, h);
        if (!image) {
            state.SkipWithError("decoding failed");
            return;
        }
        benchmark::DoNotOptimize(image->pixels.data());
    }
    state.counters["pixels"] = benchmark::Counter(double(w) * h, benchmark::Counter::kIsIterationInvariantRate);
    state.SetLabel(std::to_string(fs::file_size(path)) + " bytes");
}

void BM_LoadPcx_Terrain8_1024(benchmark::State& state) { LoadFile(state, "terrain8_1024"); }
void BM_LoadPcx_Terrain24_1024(benchmark::State& state) { LoadFile(state, "terrain24_1024"); }
void BM_LoadPcx_Terrain8_8192(benchmark::State& state)
{
    // This virtual machine charges the first fills of 200 MB of fresh memory several times what
    // later ones cost; a few loads beforehand keep that one-off out of the figure.
    static bool warmedUp = false;
    if (!warmedUp) {
        std::uint32_t w = 0, h = 0;
        for (int i = 0; i < 3; ++i)
            benchmark::DoNotOptimize(orvik::LoadPcxImage(GetInputs().Path("terrain8_8192"), w, h));
        warmedUp = true;
    }
    LoadFile(state, "terrain8_8192");
}

// The same 1024 x 1024 map decoded from memory: the decoder without the file system.
void BM_DecodePcx_Terrain8_1024(benchmark::State& state)
{
    std::ifstream in(GetInputs().Path("terrain8_1024"), std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), {});
    std::uint32_t w = 0, h = 0;
    for (auto _ : state) {
        auto image = orvik::DecodePcx(file.data(), file.size(), w, h);
        benchmark::DoNotOptimize(image->pixels.data());
    }
}

void BM_ShrinkImage_1024_to_512(benchmark::State& state)
{
    const PackedImage& image = GetInputs().Colours();
    for (auto _ : state) {
        auto small = orvik::ShrinkImage(image.pixels.data(), image.width, image.height, 512, 512);
        benchmark::DoNotOptimize(small->pixels.data());
    }
}

BENCHMARK(BM_LoadPcx_Terrain8_1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPcx_Terrain24_1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPcx_Terrain8_8192)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodePcx_Terrain8_1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShrinkImage_1024_to_512)->Unit(benchmark::kMillisecond);

} // namespace
