// Speed of the editor's mission list: the combo box filled from an archive of many missions, and
// the size the box works out for its first showing (it measures every line).
//
// Targets: 10,000 missions under 50 ms, 100,000 under 1 s.
#include "app/ComboSortedList.h"
#include "archive/PffArchive.h"
#include "common/Paths.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"

#include <QApplication>
#include <QComboBox>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "combo_bench";
    static char* argv[] = {name, nullptr};
    static const bool platform = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return true;
    }();
    (void)platform;
    static QApplication app(argc, argv);
    return app;
}

// count missions whose names come in no particular order; every tenth text repeats another one.
const std::string& Archive(int count)
{
    static const orvik::TempDir dir;
    static std::map<int, std::string> made;
    auto& path = made[count];
    if (!path.empty())
        return path;
    std::vector<orvik::gamedata::PffFile> files;
    files.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        orvik::gamedata::MissionSpec plan;
        char text[64];
        const int same = i % 10 == 9 ? i - 1 : i;
        plan.title.assign(text, static_cast<std::size_t>(std::snprintf(text, sizeof text, "Mission number %d", same)));
        plan.terrainName = "hills.ter";
        plan.seed = static_cast<std::uint32_t>(i);
        const unsigned scrambled = (static_cast<unsigned>(same) * 7919u) % static_cast<unsigned>(count);
        const int n = std::snprintf(text, sizeof text, "M%u.BMS", scrambled);
        files.push_back({std::string(text, static_cast<std::size_t>(n)), orvik::gamedata::BuildMission(plan)});
    }
    path = (std::filesystem::path(dir.Path()) / ("kqbase" + std::to_string(count) + ".pff")).string();
    orvik::gamedata::WritePff(path, files, orvik::gamedata::PffLayout{3, false, 0});
    return path;
}

void BM_FillMissionCombo(benchmark::State& state)
{
    App();
    const std::string& path = Archive(static_cast<int>(state.range(0)));
    const bool measure = state.range(1) != 0;
    int lines = 0;
    for (auto _ : state) {
        QComboBox combo;
        combo.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);  // as the editor has it
        orvik::ComboSortedList list(combo);
        orvik::CPffArchive().ListMissions(list, path);
        if (measure)
            benchmark::DoNotOptimize(combo.sizeHint());
        lines = combo.count();
        state.PauseTiming();
        combo.clear();
        state.ResumeTiming();
    }
    state.counters["missions"] = lines;
}
BENCHMARK(BM_FillMissionCombo)
    ->Args({10000, 0})
    ->Args({10000, 1})
    ->Args({100000, 0})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
