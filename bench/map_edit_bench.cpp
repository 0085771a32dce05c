// The map as an editing surface with 10,000 visible items: one drag frame (move the dragged
// markers and repaint), a paint at 8x zoom, and a zoom change with its repaint; and a drag frame
// among 200,000 items.
#include "common/Paths.h"
#include "gamedata/PcxWriter.h"
#include "map/MapView.h"
#include "mission/MissionModel.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <random>

using namespace orvik;

namespace {

constexpr std::int32_t kUnit = 131072;

// Items spread over +-spread map pixels around the origin, all of a drawn kind.
void FillItems(CMissionModel& model, int spread, int count = 10000)
{
    std::mt19937 rng(11);
    const std::int32_t kinds[] = {1500, 2500, 3500, 4500, 5500, 6500};
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<CMissionItem>();
        item->m_nId = kinds[i % 6];
        item->m_nX = (static_cast<std::int32_t>(rng() % static_cast<unsigned>(2 * spread)) - spread) * kUnit;
        item->m_nY = (static_cast<std::int32_t>(rng() % static_cast<unsigned>(2 * spread)) - spread) * kUnit;
        item->m_nNumber = i;
        model.items.push_back(std::move(item));
    }
}

// A full-size 1024 x 1024 colour map, so zoomed paints read the decoded image.
void LoadTerrain(MapView& view)
{
    static TempDir dir;
    PackedImage image{1024, 1024, std::vector<std::uint8_t>(1024 * 1024 * 3)};
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<std::uint8_t>(i * 7 / 3);
    const std::vector<std::uint8_t> bytes = gamedata::EncodePcx24(image);
    const std::string path = dir.Path() + "bench_c.pcx";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    view.LoadMap(path);
}

void DragFrame(benchmark::State& state, int count, std::size_t every)
{
    CMissionModel model;
    FillItems(model, 250, count);
    MapView view;
    view.SetModel(&model);
    view.SetCenter(0, 0);
    std::vector<std::size_t> dragged;
    for (std::size_t i = 0; i < model.items.size(); i += every)
        dragged.push_back(i);
    view.SetSelection(dragged);
    Canvas frame(512, 512);
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        view.SetDrag(dragged, step - 20, 20 - step);
        view.Paint(frame);
        benchmark::DoNotOptimize(frame.Data());
    }
}

// A tenth of the items selected and dragged together.
void BM_DragFrame(benchmark::State& state) { DragFrame(state, 10000, 10); }
BENCHMARK(BM_DragFrame)->Unit(benchmark::kMicrosecond);
// Ten items dragged among 200,000.
void BM_DragFrame200000(benchmark::State& state) { DragFrame(state, 200000, 20000); }
BENCHMARK(BM_DragFrame200000)->Unit(benchmark::kMicrosecond);

void BM_PaintAtEightTimes(benchmark::State& state)
{
    CMissionModel model;
    FillItems(model, 30); // 8x shows 64 map pixels across
    MapView view;
    LoadTerrain(view);
    view.SetModel(&model);
    view.SetZoom(8, 256, 256);
    view.SetCenter(0, 0);
    Canvas frame(512, 512);
    for (auto _ : state) {
        view.Invalidate(); // a whole paint each time, not just what changed
        view.Paint(frame);
        benchmark::DoNotOptimize(frame.Data());
    }
}
BENCHMARK(BM_PaintAtEightTimes)->Unit(benchmark::kMicrosecond);

void BM_ZoomChange(benchmark::State& state)
{
    CMissionModel model;
    FillItems(model, 30);
    MapView view;
    LoadTerrain(view);
    view.SetModel(&model);
    view.SetCenter(0, 0);
    Canvas frame(512, 512);
    int zoom = 4;
    for (auto _ : state) {
        zoom = zoom == 4 ? 8 : 4;
        view.SetZoom(zoom, 300, 200);
        view.Paint(frame);
        benchmark::DoNotOptimize(frame.Data());
    }
}
BENCHMARK(BM_ZoomChange)->Unit(benchmark::kMicrosecond);

} // namespace
