// The editor as the user meets it, in real time with the whole process's CPU time: a cold load
// that decodes the colour map on a fresh editor; the 200,000-item mission spread over the whole
// map (nothing stacked, nothing culled) loaded, painted whole and dragged; and one edit at 200,000
// rows until the table and the map have both repainted. Offscreen, Release.
#include "EditorBench.h"

#include "edit/EditDocument.h"
#include "listedit/EditListCtrl.h"
#include "mapwidget/MapWnd.h"

#include <QElapsedTimer>
#include <QEvent>

#include <memory>

using namespace orvik;
using namespace orvik::bench;

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};

// The editor with the spread mission loaded, and a row near the top of the table whose marker
// stands inside the map.
struct Spread {
    Editor editor{TheGames().bigBase};
    std::size_t row = 0;

    Spread()
    {
        QComboBox* combo = editor.dialog.MissionCombo();
        combo->setCurrentIndex(LineOf(combo, "spread.bms"));
        QApplication::processEvents();
        const MapView& view = editor.dialog.MapWnd()->View();
        const std::vector<std::size_t> inside = view.ItemsIn(20, 20, 490, 490);
        row = inside.empty() ? 0 : inside.front();
    }
};

void BM_ColdLoadDemoMission(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto editor = std::make_unique<Editor>(TheGames().demoBase);
        QComboBox* combo = editor->dialog.MissionCombo();
        state.ResumeTiming();
        combo->setCurrentIndex(0);
        QApplication::processEvents();
        state.PauseTiming();
        editor.reset();
        state.ResumeTiming();
    }
}

void BM_LoadSpread200000ItemMission(benchmark::State& state)
{
    SwitchBench(state, TheGames().bigBase, "spread.bms", false);
}

void BM_FirstPaintSpread200000(benchmark::State& state)
{
    Spread spread;
    CMapWnd* map = spread.editor.dialog.MapWnd();
    for (auto _ : state) {
        map->View().Invalidate();
        map->repaint();
    }
}

void BM_DragFrameSpread200000(benchmark::State& state)
{
    Spread spread;
    CMapWnd* map = spread.editor.dialog.MapWnd();
    int step = 0;
    for (auto _ : state) {
        step = (step + 1) % 40;
        map->View().SetDrag({spread.row}, step - 20, 20 - step);
        map->repaint();
    }
    map->View().ClearDrag();
}

void BM_EditToPixels200000(benchmark::State& state)
{
    Spread spread;
    CEditListCtrl* table = spread.editor.dialog.ItemTable();
    CMapWnd* map = spread.editor.dialog.MapWnd();
    EditDocument& document = *table->Document();
    PaintCounter tablePaints, mapPaints;
    table->viewport()->installEventFilter(&tablePaints);
    map->installEventFilter(&mapPaints);
    // The marker steps three map pixels one way and back, staying on the map.
    const std::int32_t x = map->View().PositionOf(spread.row).x;
    const std::string there[] = {std::to_string(x), std::to_string(x + 3 * 131072)};
    int n = 0;
    for (auto _ : state) {
        const int tableBefore = tablePaints.count, mapBefore = mapPaints.count;
        document.SetCell(spread.row, kColX, there[++n % 2]);
        QElapsedTimer waited;
        waited.start();
        while (tablePaints.count == tableBefore || mapPaints.count == mapBefore) {
            QApplication::processEvents();
            if (waited.elapsed() > 5000) {
                state.SkipWithError("the table or the map never repainted");
                break;
            }
        }
    }
    table->viewport()->removeEventFilter(&tablePaints);
    map->removeEventFilter(&mapPaints);
}

} // namespace

BENCHMARK(BM_ColdLoadDemoMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_LoadSpread200000ItemMission)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_FirstPaintSpread200000)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_DragFrameSpread200000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_EditToPixels200000)->Unit(benchmark::kMicrosecond)->UseRealTime()->MeasureProcessCPUTime();
