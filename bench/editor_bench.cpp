// The editor's table as a view of the edit document: loading a mission into the dialog (document,
// model, view, map) and switching away, on the demo game's 2,000-item mission and on a 60,000-item
// mission; and one edit, undo and redo on a 60,000-row document. Offscreen, Release.
#include "app/EditorDlg.h"
#include "app/Prompts.h"
#include "archive/PffArchive.h"
#include "common/Paths.h"
#include "edit/EditDocument.h"
#include "gamedata/DemoGame.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "listedit/EditListCtrl.h"
#include "mission/MissionModel.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>

#include <filesystem>
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
};

// The demo game, and beside it a game with the same terrain and catalogue whose kqbase.pff holds a
// 60,000-item mission and a one-item mission.
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
        gamedata::MissionSpec plan;
        plan.title = "Sixty Thousand";
        plan.terrainName = biggest.terrain.terrainFile;
        for (std::size_t i = 0; i < 60000; ++i) {
            CMissionItem item = *biggest.items[i % biggest.items.size()];
            item.m_nX += static_cast<std::int32_t>(i % 97) * 4096;
            item.m_nNumber = static_cast<std::int32_t>(i + 1);
            plan.items.push_back(item);
        }
        gamedata::MissionSpec tiny = plan;
        tiny.title = "Tiny";
        tiny.items.resize(1);
        gamedata::WritePff(bigBase,
                           {{"big.bms", gamedata::BuildMission(plan)}, {"tiny.bms", gamedata::BuildMission(tiny)}});
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

// Switching to a mission and away: each iteration times one of the two.
void SwitchBench(benchmark::State& state, const std::string& base, bool big, bool timeAway)
{
    Editor editor(base);
    QComboBox* combo = editor.dialog.MissionCombo();
    const int target = big ? LineOf(combo, "big.bms") : BiggestLine(editor.dialog);
    const int other = big ? LineOf(combo, "tiny.bms") : (target == 0 ? 1 : 0);
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
    combo->setCurrentIndex(target);
    state.counters["rows"] = static_cast<double>(editor.dialog.Model().items.size());
}

void BM_LoadDemoMission(benchmark::State& state) { SwitchBench(state, TheGames().demoBase, false, false); }
void BM_Load60000ItemMission(benchmark::State& state) { SwitchBench(state, TheGames().bigBase, true, false); }
void BM_SwitchAwayFrom60000ItemMission(benchmark::State& state) { SwitchBench(state, TheGames().bigBase, true, true); }

// One edit, its undo and its redo on the loaded 60,000-row document, with the table listening.
void EditBench(benchmark::State& state, int what)
{
    Editor editor(TheGames().bigBase);
    QComboBox* combo = editor.dialog.MissionCombo();
    combo->setCurrentIndex(LineOf(combo, "big.bms"));
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

void BM_Edit60000Rows(benchmark::State& state) { EditBench(state, 0); }
void BM_Undo60000Rows(benchmark::State& state) { EditBench(state, 1); }
void BM_Redo60000Rows(benchmark::State& state) { EditBench(state, 2); }

} // namespace

BENCHMARK(BM_LoadDemoMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load60000ItemMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchAwayFrom60000ItemMission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Edit60000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Undo60000Rows)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Redo60000Rows)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
