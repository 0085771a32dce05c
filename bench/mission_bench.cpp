// Reading and writing the item records of a large mission (target: a 2,000-item mission loads
// in well under a millisecond of file work).
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "mission/MissionModel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

using namespace orvik;

struct BigMission {
    BigMission()
    {
        gamedata::MissionSpec plan;
        for (std::int32_t i = 0; i < 2000; ++i) {
            CMissionItem item;
            item.m_nId = 1 + i % 300;
            item.m_nX = i * 131072;
            item.m_nY = -i * 65536;
            item.m_nNumber = i;
            plan.items.push_back(item);
        }
        path = (std::filesystem::temp_directory_path() / "orvik-mission-bench.pff").string();
        std::vector<gamedata::PffWrittenEntry> entries;
        gamedata::WritePff(path, {{"big.bms", gamedata::BuildMission(plan)}}, {}, &entries);
        offset = entries[0].dataOffset;
    }
    ~BigMission() { std::remove(path.c_str()); }

    std::string path;
    std::uint32_t offset = 0;
};

void BM_ReadItems2000(benchmark::State& state)
{
    static BigMission mission;
    for (auto _ : state) {
        CMissionModel model;
        File f(mission.path, File::Mode::Read);
        benchmark::DoNotOptimize(model.ReadItems(f, mission.offset));
        benchmark::DoNotOptimize(model.items.size());
    }
}
BENCHMARK(BM_ReadItems2000)->Unit(benchmark::kMicrosecond);

void BM_WriteItems2000(benchmark::State& state)
{
    static BigMission mission;
    CMissionModel model;
    {
        File f(mission.path, File::Mode::Read);
        model.ReadItems(f, mission.offset);
    }
    for (auto _ : state) {
        File f(mission.path, File::Mode::ReadWrite);
        model.WriteItems(f, mission.offset);
        f.Close();
    }
}
BENCHMARK(BM_WriteItems2000)->Unit(benchmark::kMicrosecond);

} // namespace
