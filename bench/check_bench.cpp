// orvik check over 100 missions of 2,000 items each (target: under 1 s for the whole archive),
// and the editor's re-check of one 2,000-row table after an edit.
#include "archive/PffArchive.h"
#include "check/ArchiveCheck.h"
#include "check/ItemChecks.h"
#include "common/Paths.h"
#include "edit/DocumentRows.h"
#include "gamedata/ItemDefWriter.h"
#include "gamedata/MissionWriter.h"
#include "gamedata/PffWriter.h"

#include <benchmark/benchmark.h>

#include <filesystem>

namespace {

using namespace orvik;

constexpr int kMissions = 100;
constexpr int kItems = 2000;

struct BigGame {
    BigGame()
    {
        std::vector<gamedata::ItemDefSpec> defs;
        for (std::int32_t id = 1; id <= 400; ++id)
            defs.push_back({(id == 7 ? "Map Center " : "Item ") + std::to_string(id), id});
        catalogue.LoadText(gamedata::BuildItemDef(defs));
        std::vector<gamedata::PffFile> files;
        for (int m = 0; m < kMissions; ++m) {
            gamedata::MissionSpec plan;
            plan.title = "Mission " + std::to_string(m);
            plan.terrainName = "t.ter";
            for (std::int32_t i = 0; i < kItems; ++i) {
                CMissionItem item;
                // Every so often a kind the catalogue lacks, a stray angle or an item off the map.
                item.m_nId = 1 + (i * 7 + m) % 420;
                item.m_nX = (i % 600) * 110000;
                item.m_nY = -(i / 4) * 120000;
                item.m_nZ = i;
                item.m_nAngle = (i * 13) % 400;
                item.m_nNumber = i;
                plan.items.push_back(item);
            }
            files.push_back({"m" + std::to_string(m) + ".bms", gamedata::BuildMission(plan)});
        }
        path = (std::filesystem::path(dir.Path()) / "kqbase.pff").string();
        gamedata::WritePff(path, files);
    }

    TempDir dir;
    std::string path;
    CItemDefList catalogue;
};

const BigGame& Game()
{
    static const BigGame game;
    return game;
}

void BM_CheckArchive100x2000(benchmark::State& state)
{
    const BigGame& game = Game();
    std::size_t findings = 0;
    for (auto _ : state) {
        const CheckReport report = CheckArchive(game.path, game.catalogue);
        findings = report.findings.size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckArchive100x2000)->Unit(benchmark::kMillisecond);

void BM_CheckTableRows2000(benchmark::State& state)
{
    const BigGame& game = Game();
    CMissionModel model;
    {
        File file(game.path, File::Mode::Read);
        CPffArchive archive;
        std::int32_t offset = 0;
        std::uint32_t size = 0;
        archive.WalkEntries(file, [&](const PffEntry& e) {
            offset = e.dataOffset;
            size = e.dataSize;
            return false;
        });
        model.ReadItems(file, static_cast<std::uint32_t>(offset), size);
    }
    const std::vector<ItemRow> rows = RowsOfModel(model, game.catalogue);
    for (auto _ : state) {
        std::vector<Finding> findings;
        CheckItems(CheckedItemsOfRows(rows, model, game.catalogue), game.catalogue, "m0.bms", findings);
        benchmark::DoNotOptimize(findings.data());
    }
}
BENCHMARK(BM_CheckTableRows2000)->Unit(benchmark::kMicrosecond);

} // namespace
