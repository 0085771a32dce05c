// The item table's sort and filter on the 200,000-item mission: a sort by a number column and by
// name, one keystroke in the filter box up to the repainted table, and an edit, undo and redo with
// a sort and a filter on. bytes_per_row is what the sort and the filter keep. Offscreen, Release.
#include "EditorBench.h"

#include "app/FilterField.h"
#include "listedit/EditListCtrl.h"
#include "listedit/ItemTableModel.h"
#include "mission/ItemRows.h"

#include <benchmark/benchmark.h>
#include <QApplication>
#include <QComboBox>

#include <string>

using namespace orvik;
using namespace orvik::bench;

namespace {

struct HugeEditor : Editor {
    HugeEditor() : Editor(TheGames().bigBase)
    {
        QComboBox* combo = dialog.MissionCombo();
        combo->setCurrentIndex(LineOf(combo, "huge.bms"));
        QApplication::processEvents();
    }
    CEditListCtrl& Table() { return *dialog.ItemTable(); }
    void BytesPerRow(benchmark::State& state)
    {
        const ViewOrder& view = Table().TableModel()->View();
        state.counters["bytes_per_row"] =
            static_cast<double>(view.BytesHeld()) / static_cast<double>(std::max<std::size_t>(view.RowCount(), 1));
        state.counters["rows"] = static_cast<double>(view.RowCount());
    }
};

void SortBench(benchmark::State& state, int column)
{
    HugeEditor editor;
    for (auto _ : state) {
        editor.Table().SortBy(column, ItemTableModel::SortOrder::Ascending);
        state.PauseTiming();
        editor.BytesPerRow(state);
        editor.Table().SortBy(column, ItemTableModel::SortOrder::None);
        state.ResumeTiming();
    }
}

void BM_SortByX200000(benchmark::State& state) { SortBench(state, kColX); }
void BM_SortByName200000(benchmark::State& state) { SortBench(state, kColItem); }

// One more letter in the box, then the table drawn with it.
void BM_FilterKeystroke200000(benchmark::State& state)
{
    HugeEditor editor;
    editor.Table().SortBy(kColX, ItemTableModel::SortOrder::Ascending);
    const QString texts[] = {QStringLiteral("x>0 item:b"), QStringLiteral("x>0 item:bu")};
    int k = 0;
    for (auto _ : state) {
        editor.dialog.FilterBox()->setText(texts[k]);
        editor.Table().viewport()->repaint();
        k = 1 - k;
    }
    editor.BytesPerRow(state);
}

// As the editor's BM_Edit200000Rows, with the table sorted by X and filtered.
void ViewEditBench(benchmark::State& state, int what)
{
    HugeEditor editor;
    editor.Table().SortBy(kColX, ItemTableModel::SortOrder::Descending);
    editor.dialog.FilterBox()->setText(QStringLiteral("x>0"));
    EditDocument& document = *editor.Table().Document();
    TimeEditSteps(state, document, what);
    editor.BytesPerRow(state);
}

void BM_EditSortedFiltered200000(benchmark::State& state) { ViewEditBench(state, 0); }
void BM_UndoSortedFiltered200000(benchmark::State& state) { ViewEditBench(state, 1); }
void BM_RedoSortedFiltered200000(benchmark::State& state) { ViewEditBench(state, 2); }

} // namespace

BENCHMARK(BM_SortByX200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SortByName200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_FilterKeystroke200000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EditSortedFiltered200000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_UndoSortedFiltered200000)->Unit(benchmark::kMicrosecond)->UseRealTime();
BENCHMARK(BM_RedoSortedFiltered200000)->Unit(benchmark::kMicrosecond)->UseRealTime();
