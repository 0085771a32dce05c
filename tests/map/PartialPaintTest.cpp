// A paint that draws only what moved, was selected or is dragged gives the frame a whole paint gives.
#include "map/MapView.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

using namespace orvik;

namespace {

TEST(PartialPaint, EqualsAWholePaintAfterEveryStep)
{
    constexpr std::int32_t kUnit = 131072;
    const std::int32_t kinds[] = {1500, 2500, 3500, 4500, 5500, 6500};
    for (const int zoom : {1, 4, 2}) {
        std::mt19937 rng(static_cast<unsigned>(zoom));
        const auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
        // Crowded, so that markers overlap and a redrawn area holds many of them.
        const auto place = [&] { return WorldPoint{(pick(30) - 15) * kUnit / 3, (pick(30) - 15) * kUnit / 3}; };
        CMissionModel model;
        for (int i = 0; i < 300; ++i) {
            auto item = std::make_unique<CMissionItem>();
            item->m_nId = kinds[i % 6];
            const WorldPoint p = place();
            item->m_nX = p.x;
            item->m_nY = p.y;
            model.items.push_back(std::move(item));
        }
        MapView view;
        view.SetModel(&model);
        // Saved places and their lines reach far past a marker's box.
        view.m_bShowChanges = zoom == 2;
        view.SetZoom(zoom, 256, 256);
        view.SetCenter(0, 0);
        Canvas frame(512, 512);
        view.Paint(frame);
        for (int step = 0; step < 200; ++step) {
            // With the saved places drawn, a few items take every step, so that moved ones have them.
            const auto item = static_cast<std::size_t>(pick(view.m_bShowChanges ? 12 : 300));
            switch (pick(6)) {
            case 0: view.SetPosition(item, place()); break;
            case 1: view.SetSelection({item, static_cast<std::size_t>(pick(300))}); break;
            case 2: view.SetDrag({item}, pick(40) - 20, pick(40) - 20); break;
            case 3: view.SetZoom(1 << pick(4), 256, 256); break;
            case 4: view.SetSavedPosition(item, pick(3) > 0 ? std::optional<WorldPoint>(place()) : std::nullopt); break;
            default: view.ClearDrag(); break;
            }
            view.Paint(frame);
            const std::vector<std::uint8_t> partial(frame.Data(), frame.Data() + 512 * 512 * 3);
            view.Invalidate();
            view.Paint(frame);
            ASSERT_TRUE(std::equal(partial.begin(), partial.end(), frame.Data())) << "zoom " << zoom << ", step " << step;
        }
    }
}

} // namespace
