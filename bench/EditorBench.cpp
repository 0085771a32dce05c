#include "EditorBench.h"

#include "archive/PffArchive.h"
#include "edit/EditDocument.h"
#include "gamedata/DemoGame.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"
#include "mission/MissionModel.h"

#include <malloc.h>

#include <filesystem>
#include <memory>

namespace orvik::bench {

Games::Games()
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
    // Every kind of the demo's mission, each item on a pixel of its own draw: nothing is culled.
    const auto spread = [&](const char* title, std::size_t count) {
        gamedata::MissionSpec plan;
        plan.title = title;
        plan.terrainName = biggest.terrain.terrainFile;
        std::uint32_t state = 2026;
        const auto next = [&state](std::uint32_t span) {
            state = state * 1664525u + 1013904223u;
            return static_cast<std::int32_t>((state >> 8) % span);
        };
        for (std::size_t i = 0; i < count; ++i) {
            CMissionItem item = *biggest.items[i % biggest.items.size()];
            item.m_nX = next(512) * 131072 + next(131072);
            item.m_nY = -next(512) * 131072 - next(131072);
            item.m_nNumber = static_cast<std::int32_t>(i + 1);
            plan.items.push_back(item);
        }
        return gamedata::BuildMission(plan);
    };
    gamedata::WritePff(bigBase, {{"big.bms", mission("Sixty Thousand", 60000)},
                                 {"huge.bms", mission("Two Hundred Thousand", 200000)},
                                 {"spread.bms", spread("Spread", 200000)},
                                 {"tiny.bms", mission("Tiny", 1)}});
}

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

double HeapInUseMiB()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / (1024.0 * 1024.0);
}

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

void TimeEditSteps(benchmark::State& state, EditDocument& document, int what)
{
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

} // namespace orvik::bench
