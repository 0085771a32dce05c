// The recovery file's write, as the editor's worker makes it a moment after an edit: a 200,000-row
// document with 1,000 edited rows, encoded, written under a temporary name, synced and renamed over.
#include "common/Paths.h"
#include "session/RecoveryFile.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace orvik;

namespace {

void BM_RecoveryWrite200000Rows1000Edited(benchmark::State& state)
{
    TempDir dir;
    RecoveryHeader header;
    header.archivePath = dir.Path() + "game/kqbase.pff";
    header.missionName = "huge.bms";
    header.missionOffset = 123456;
    header.rowCount = 200000;
    std::map<std::size_t, ItemRow> rows;
    for (std::size_t i = 0; i < 1000; ++i) {
        const std::size_t row = (i * 7919) % header.rowCount; // spread over the document
        rows[row] = ItemRow{"Soldier", std::to_string(row * 4096), "-" + std::to_string(i * 131072),
                            std::to_string(i % 300), std::to_string(i % 360), std::to_string(row + 1), "N"};
    }
    const std::string path = dir.Path() + "edits.orvr";
    std::int64_t time = 1765000000;
    for (auto _ : state)
        WriteRecoveryFile(path, header, ++time, rows);
    state.counters["rows"] = static_cast<double>(rows.size());
}

} // namespace

BENCHMARK(BM_RecoveryWrite200000Rows1000Edited)->Unit(benchmark::kMillisecond);
