// Speed of the editor's mission list: the combo box filled from an archive of many missions, and
// the size the box works out for its first showing (it measures every line).
//
// Targets: 10,000 missions under 50 ms, 100,000 under 1 s.
#include "app/ComboSortedList.h"
#include "archive/PffArchive.h"
#include "common/Paths.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "ManyMissions.h"

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

void BM_FillMissionCombo(benchmark::State& state)
{
    App();
    const std::string& path = ManyMissionsArchive(static_cast<int>(state.range(0)));
    const bool measure = state.range(1) != 0;
    int lines = 0;
    for (auto _ : state) {
        QComboBox combo;
        combo.setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon); // as the editor has it
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
