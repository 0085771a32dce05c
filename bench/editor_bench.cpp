// The editor's table as a view of the edit document: loading a mission into the dialog (document,
// model, view, map) and switching away, on the demo game's 2,000-item mission and on missions of
// 60,000 and 200,000 items, and each step of the larger switch; one edit, undo and redo on those
// documents; and the editor's memory with the 200,000-item mission loaded. Offscreen, Release.
// Real time, with the CPU time of the whole process: the findings made on a second thread during
// a load and the wait for the release of the mission before count too.
#include "EditorBench.h"

#include "app/EditorDlg.h"
#include "check/ItemChecks.h"
#include "check/ItemFindings.h"
#include "edit/DocumentRows.h"
#include "archive/PffArchive.h"
#include "common/Paths.h"
#include "edit/EditDocument.h"
#include "gamedata/DemoGame.h"
#include "gamedata/MissionWriter.h"
#include "support/PrivateDataFolder.h"
#include "gamedata/PffWriter.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "map/MapView.h"
#include "mission/MissionModel.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

using namespace orvik;
using namespace orvik::bench;

namespace {

void BM_LoadDemoMission(benchmark::State& state) { SwitchBench(state, TheGames().demoBase, nullptr, false); }
void BM_Load60000ItemMission(benchmark::State& state) { SwitchBench(state, TheGames().bigBase, "big.bms", false); }
void BM_SwitchAwayFrom60000ItemMission(benchmark::State& state)
{
    SwitchBench(state, TheGames().bigBase, "big.bms", true);
}
void BM_Load200000ItemMission(benchmark::State& state) { SwitchBench(state, TheGames().bigBase, "huge.bms", false); }
void BM_SwitchAwayFrom200000ItemMission(benchmark::State& state)
{
    SwitchBench(state, TheGames().bigBase, "huge.bms", true);
}

// Each step of a switch to the 200,000-item mission, done as the editor does it, each timed on its
// own and reported in ms: read (archive to items), terrain (its description and the colour map
// unpacked), decode (decoded and shrunk, not kept from before), rows, findings (made beside the
// rows in the editor), document (with the table showing it), index (the map's markers), paint (the
// first whole frame), release (freed off the user's path in the editor); and the heap each step
// keeps (MiB_).
void BM_SwitchSteps200000(benchmark::State& state)
{
    const std::string base = TheGames().bigBase;
    const std::string terrainArchive = base.substr(0, base.size() - std::string("kqbase.pff").size()) + "kq.pff";
    MissionInfo huge;
    CPffArchive archive;
    archive.WalkMissions(base, [&](const MissionInfo& m) {
        if (m.name == "huge.bms")
            huge = m;
    });
    const CItemDefList& catalogue = [&]() -> const CItemDefList& {
        static CItemDefList list;
        if (list.Size() == 0)
            list.Load(std::filesystem::path(base).replace_filename("items.def").string());
        return list;
    }();
    std::map<std::string, double> ms;
    std::map<std::string, double> mib; // heap each step keeps, from the last iteration
    for (auto _ : state) {
        using Clock = std::chrono::steady_clock;
        auto start = Clock::now();
        double heap = HeapInUseMiB();
        const auto lap = [&](const char* step) {
            const auto now = Clock::now();
            ms[step] += std::chrono::duration<double, std::milli>(now - start).count();
            state.PauseTiming();
            const double after = HeapInUseMiB();
            mib[std::string("MiB_") + step] = after - heap;
            heap = after;
            state.ResumeTiming();
            start = Clock::now();
        };
        auto model = std::make_unique<CMissionModel>();
        {
            File file(base, File::Mode::Read);
            model->ReadItems(file, huge.offset, huge.size);
            lap("read");
            model->ReadTerrainInfo(file, huge.offset, base);
        }
        TempDir scratch;
        archive.ExtractTo(terrainArchive, model->terrain.colorMapFile, scratch.Path() + "c.pcx");
        lap("terrain");
        MapView view;
        view.LoadMap(scratch.Path() + "c.pcx");
        lap("decode");
        std::vector<ItemRow> rows = RowsOfModel(*model, catalogue);
        lap("rows");
        auto findings = std::make_unique<ItemFindings>(catalogue, huge.name);
        findings->Reset(CheckedItemsOfModel(*model, catalogue));
        lap("findings");
        EditDocument document;
        ItemTableModel table;
        table.SetDocument(&document);
        document.Load(std::move(rows));
        lap("document");
        view.SetModel(model.get());
        lap("index");
        Canvas frame(MapView::kSize, MapView::kSize);
        view.Paint(frame);
        lap("paint");
        table.SetDocument(nullptr);
        view.SetModel(nullptr);
        findings.reset();
        document.Clear();
        model.reset();
        lap("release");
    }
    for (const auto& [step, total] : ms)
        state.counters[step] = benchmark::Counter(total, benchmark::Counter::kAvgIterations);
    for (const auto& [step, held] : mib)
        if (step != "MiB_release")
            state.counters[step] = held;
}

// One edit, its undo and its redo on a loaded document, with the table, the findings and the map
// listening.
void EditBench(benchmark::State& state, const char* mission, int what)
{
    Editor editor(TheGames().bigBase);
    QComboBox* combo = editor.dialog.MissionCombo();
    combo->setCurrentIndex(LineOf(combo, mission));
    QApplication::processEvents();
    EditDocument& document = *editor.dialog.ItemTable()->Document();
    TimeEditSteps(state, document, what);
}

void BM_Edit60000Rows(benchmark::State& state) { EditBench(state, "big.bms", 0); }
void BM_Undo60000Rows(benchmark::State& state) { EditBench(state, "big.bms", 1); }
void BM_Redo60000Rows(benchmark::State& state) { EditBench(state, "big.bms", 2); }
void BM_Edit200000Rows(benchmark::State& state) { EditBench(state, "huge.bms", 0); }
void BM_Undo200000Rows(benchmark::State& state) { EditBench(state, "huge.bms", 1); }
void BM_Redo200000Rows(benchmark::State& state) { EditBench(state, "huge.bms", 2); }

} // namespace

BENCHMARK(BM_LoadDemoMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Load60000ItemMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SwitchAwayFrom60000ItemMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Edit60000Rows)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Undo60000Rows)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Redo60000Rows)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Load200000ItemMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SwitchAwayFrom200000ItemMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_SwitchSteps200000)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Edit200000Rows)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Undo200000Rows)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_Redo200000Rows)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editors here keep their recovery files in a folder of their own, never the user's.
    const orvik::test::PrivateDataFolder data;
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
