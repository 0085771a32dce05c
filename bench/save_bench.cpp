// A journaled save of the demo game's largest mission (2,000 items), syncs included
// (target: under 20 ms on the machine's own disk). The journal and the archive live in a folder
// under the current folder, not in a temporary file system that may not sync at all.
#include "catalogue/ItemDefList.h"
#include "gamedata/DemoGame.h"
#include "mission/MissionSave.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace orvik;

struct DemoSave {
    DemoSave()
    {
        dir = (std::filesystem::current_path() / "orvik-save-bench").string() + "/";
        gamedata::DemoOptions options;
        options.colorMapSize = 64;
        gamedata::WriteDemoGame(dir, options);
        base = dir + "kqbase.pff";
        catalogue.Load(dir + "items.def");
        CPffArchive().WalkMissions(base, [&](const MissionInfo& m) {
            if (m.size > mission.size)
                mission = m;
        });
        File f(base, File::Mode::Read);
        model.ReadItems(f, mission.offset, mission.size);
        for (const auto& item : model.items)
            rows.push_back(ItemToRow(*item, catalogue));
    }
    ~DemoSave() { std::filesystem::remove_all(dir); }

    std::string dir, base;
    CItemDefList catalogue;
    MissionInfo mission;
    CMissionModel model;
    std::vector<ItemRow> rows;
};

void BM_JournaledSave(benchmark::State& state)
{
    static DemoSave demo;
    int step = 0;
    for (auto _ : state) {
        // Every save really changes every record, so the journal and the patch are written whole.
        ++step;
        for (std::size_t i = 0; i < demo.rows.size(); ++i)
            demo.rows[i][kColX] = std::to_string(static_cast<int>(i) * 131072 + step);
        const SaveOutcome outcome = SaveMission(demo.base, demo.mission, demo.model, demo.rows, demo.catalogue);
        if (!outcome.saved)
            state.SkipWithError(outcome.message.c_str());
    }
    state.counters["items"] = static_cast<double>(demo.model.items.size());
}
BENCHMARK(BM_JournaledSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
