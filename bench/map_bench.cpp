// The whole mission load (items, terrain lookup, extraction, decode, shrink, terrain frame) on the
// demo game's 2,000-item mission, and one paint of 10,000 visible items.
#include "archive/PffArchive.h"
#include "common/Paths.h"
#include "gamedata/DemoGame.h"
#include "map/MapView.h"
#include "mission/MissionModel.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>

using namespace orvik;

namespace {

struct Demo {
    TempDir dir;
    std::string base;
    MissionInfo biggest;

    Demo()
    {
        gamedata::WriteDemoGame(dir.Path(), {});
        base = dir.Path() + "kqbase.pff";
        CPffArchive archive;
        std::size_t most = 0;
        archive.WalkMissions(base, [&](const MissionInfo& m) {
            CMissionModel model;
            File f(base, File::Mode::Read);
            model.ReadItems(f, m.offset);
            if (model.items.size() >= most) {
                most = model.items.size();
                biggest = m;
            }
        });
    }
};

Demo& TheDemo()
{
    static Demo demo;
    return demo;
}

void BM_LoadMission(benchmark::State& state)
{
    Demo& demo = TheDemo();
    MapView view;
    CMissionModel model;
    for (auto _ : state) {
        File file(demo.base, File::Mode::Read);
        model.Load(file, demo.biggest.offset, demo.base, view);
        benchmark::DoNotOptimize(view.Terrain().Data());
    }
    state.counters["items"] = static_cast<double>(model.items.size());
}
BENCHMARK(BM_LoadMission)->Unit(benchmark::kMillisecond);

void BM_PaintTenThousandItems(benchmark::State& state)
{
    CMissionModel model;
    std::mt19937 rng(11);
    const std::int32_t kinds[] = {1500, 2500, 3500, 4500, 5500, 6500};
    for (int i = 0; i < 10000; ++i) {
        auto item = std::make_unique<CMissionItem>();
        item->m_nId = kinds[i % 6];
        item->m_nX = static_cast<std::int32_t>(rng() % 500 + 6) * 131072 - 256 * 131072;
        item->m_nY = -(static_cast<std::int32_t>(rng() % 500 + 6) * 131072 - 256 * 131072);
        item->m_nNumber = i;
        model.items.push_back(std::move(item));
    }
    MapView view;
    view.SetModel(&model);
    view.SetCenter(0, 0);
    Canvas frame(512, 512);
    for (auto _ : state) {
        // A whole paint each time: a second paint of an unchanged view would draw nothing.
        view.Invalidate();
        view.Paint(frame);
        benchmark::DoNotOptimize(frame.Data());
    }
}
BENCHMARK(BM_PaintTenThousandItems)->Unit(benchmark::kMicrosecond);

} // namespace
