// The editor's table as a view of the edit document: loading a mission into the dialog (document,
// model, view, map) and switching away, on the demo game's 2,000-item mission and on missions of
// 60,000 and 200,000 items, and each step of the larger switch; one edit, undo and redo on those
// documents; and the editor's memory with the 200,000-item mission loaded. Offscreen, Release.
#include "app/EditorDlg.h"
#include "app/Prompts.h"
#include "check/ItemChecks.h"
#include "check/ItemFindings.h"
#include "edit/DocumentRows.h"
#include "archive/PffArchive.h"
#include "common/Paths.h"
#include "edit/EditDocument.h"
#include "gamedata/DemoGame.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "map/MapView.h"
#include "mission/MissionModel.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

#include <malloc.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>

using namespace orvik;

namespace {

class SilentPrompts : public Prompts {
public:
    void Message(const QString&) override {}
    void FileErrorReport(const QString&) override {}
    bool AskYesNo(const QString&) override { return true; }
    QString OpenFile() override { return {}; }
    std::optional<MoveOffset> AskMoveOffset(const QString&) override { return std::nullopt; }
    RecoveryAnswer AskRecovery(const QString&) override { return RecoveryAnswer::Later; }
};

// The demo game, and beside it a game with the same terrain and catalogue whose kqbase.pff holds
// missions of 60,000 and 200,000 items and a one-item mission.
struct Games {
    TempDir dir;
    std::string demoBase;
    std::string bigBase;

    Games()
    {
        const std::string demo = dir.Path() + "demo/";
        const std::string big = dir.Path() + "big/";
        std::filesystem::create_directories(demo);
        std::filesystem::create_directories(big);
        gamedata::WriteDemoGame(demo, {});
        demoBase = demo + "kqbase.pff";
        bigBase = big + "kqbase.pff";
        std::filesystem::copy_file(demo + "kq.pff", big + "kq.pff");
        std::filesystem::copy_file(demo + "items.def", big + "items.def");

        // The demo's biggest mission gives the terrain and the kinds of item.
        CPffArchive archive;
        auto biggestModel = std::make_unique<CMissionModel>();
        archive.WalkMissions(demoBase, [&](const MissionInfo& m) {
            auto model = std::make_unique<CMissionModel>();
            File file(demoBase, File::Mode::Read);
            model->ReadItems(file, m.offset);
            model->ReadTerrainInfo(file, m.offset, demoBase);
            if (model->items.size() > biggestModel->items.size())
                biggestModel = std::move(model);
        });
        const CMissionModel& biggest = *biggestModel;
        const auto mission = [&](const char* title, std::size_t count) {
            gamedata::MissionSpec plan;
            plan.title = title;
            plan.terrainName = biggest.terrain.terrainFile;
            for (std::size_t i = 0; i < count; ++i) {
                CMissionItem item = *biggest.items[i % biggest.items.size()];
                item.m_nX += static_cast<std::int32_t>(i % 97) * 4096;
                item.m_nNumber = static_cast<std::int32_t>(i + 1);
                plan.items.push_back(item);
            }
            return gamedata::BuildMission(plan);
        };
        gamedata::WritePff(bigBase, {{"big.bms", mission("Sixty Thousand", 60000)},
                                     {"huge.bms", mission("Two Hundred Thousand", 200000)},
                                     {"tiny.bms", mission("Tiny", 1)}});
    }
};

Games& TheGames()
{
    static Games games;
    return games;
}

int LineOf(QComboBox* combo, const QString& start)
{
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).startsWith(start, Qt::CaseInsensitive))
            return i;
    return -1;
}

// The line of the mission with the most items.
int BiggestLine(CEditorDlg& dialog)
{
    QComboBox* combo = dialog.MissionCombo();
    int best = 0;
    std::size_t most = 0;
    for (int i = 0; i < combo->count(); ++i) {
        combo->setCurrentIndex(i);
        if (dialog.Model().items.size() >= most) {
            most = dialog.Model().items.size();
            best = i;
        }
    }
    return best;
}

struct Editor {
    SilentPrompts prompts;
    CEditorDlg dialog;

    explicit Editor(const std::string& base) : dialog(prompts, base)
    {
        dialog.OnInitDialog();
        dialog.show();
        QApplication::processEvents();
    }
};

// The heap memory in use, in MiB: freed blocks that the allocator keeps for reuse do not count,
// so the figure does not depend on what was loaded before.
double HeapInUseMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

// Switching to a mission and away: each iteration times one of the two. mission: its entry name,
// or empty for the demo's biggest.
void SwitchBench(benchmark::State& state, const std::string& base, const char* mission, bool timeAway)
{
    const auto lines = [&](QComboBox* combo, CEditorDlg& dialog) {
        const int target = mission ? LineOf(combo, mission) : BiggestLine(dialog);
        return std::pair{target, mission ? LineOf(combo, "tiny.bms") : (target == 0 ? 1 : 0)};
    };
    {
        Editor editor(base);
        QComboBox* combo = editor.dialog.MissionCombo();
        const auto [target, other] = lines(combo, editor.dialog);
        combo->setCurrentIndex(other);
        QApplication::processEvents();
        for (auto _ : state) {
            if (timeAway) {
                state.PauseTiming();
                combo->setCurrentIndex(target);
                QApplication::processEvents();
                state.ResumeTiming();
                combo->setCurrentIndex(other);
                QApplication::processEvents();
            } else {
                combo->setCurrentIndex(target);
                QApplication::processEvents();
                state.PauseTiming();
                combo->setCurrentIndex(other);
                QApplication::processEvents();
                state.ResumeTiming();
            }
        }
    } // the editor waits for its last mission to be freed
    // The memory the mission holds: a fresh editor with the one-item mission against the same
    // editor with this one loaded, so that no mission before is still being freed.
    Editor editor(base);
    QComboBox* combo = editor.dialog.MissionCombo();
    const auto [target, other] = lines(combo, editor.dialog);
    combo->setCurrentIndex(other);
    QApplication::processEvents();
    const double empty = HeapInUseMiB();
    combo->setCurrentIndex(target);
    QApplication::processEvents();
    state.counters["rows"] = static_cast<double>(editor.dialog.Model().items.size());
    state.counters["MiB_loaded"] = HeapInUseMiB() - empty;
}

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
    std::size_t row = 0;
    std::uint64_t n = 0;
    for (auto _ : state) {
        row = (row + 7919) % document.RowCount();
        const std::string text = std::to_string(++n);
        if (what == 0) {
            document.SetCell(row, kColX, text);
        } else {
            state.PauseTiming();
            document.SetCell(row, kColX, text);
            if (what == 2)
                document.Undo();
            state.ResumeTiming();
            if (what == 1)
                document.Undo();
            else
                document.Redo();
        }
    }
}

void BM_Edit60000Rows(benchmark::State& state) { EditBench(state, "big.bms", 0); }
void BM_Undo60000Rows(benchmark::State& state) { EditBench(state, "big.bms", 1); }
void BM_Redo60000Rows(benchmark::State& state) { EditBench(state, "big.bms", 2); }
void BM_Edit200000Rows(benchmark::State& state) { EditBench(state, "huge.bms", 0); }
void BM_Undo200000Rows(benchmark::State& state) { EditBench(state, "huge.bms", 1); }
void BM_Redo200000Rows(benchmark::State& state) { EditBench(state, "huge.bms", 2); }

} // namespace

BENCHMARK(BM_LoadDemoMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load60000ItemMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchAwayFrom60000ItemMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Edit60000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Undo60000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Redo60000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Load200000ItemMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchAwayFrom200000ItemMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchSteps200000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Edit200000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Undo200000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Redo200000Rows)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The editors here keep their recovery files in a folder of their own, never the user's.
    const QTemporaryDir data;
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
