// The map's change marks: where moved items stood at the last save.
#include "map/MapView.h"

#include <algorithm>

namespace orvik {

namespace {

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Half the side of the ghost's box: it covers the 5 x 5 pixels around the saved place.
constexpr int kGhostReach = 2;

int ClampFrame(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 20), 1 << 20)); }

// A one-pixel line from (x0, y0) to (x1, y1), both ends included, drawn only where it crosses area:
// along the longer axis one pixel a step, the other coordinate rounded (halves up), so a long line
// costs only the part that shows.
void ClippedLine(Canvas& canvas, std::int64_t x0, std::int64_t y0, std::int64_t x1, std::int64_t y1,
                 const PixelRect& area, Rgb colour)
{
    const bool steep = std::abs(y1 - y0) > std::abs(x1 - x0);
    if (steep) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x1 < x0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    const std::int64_t from = std::max<std::int64_t>(x0, steep ? area.top : area.left);
    const std::int64_t to = std::min<std::int64_t>(x1, (steep ? area.bottom : area.right) - 1);
    const std::int64_t run = x1 - x0;
    for (std::int64_t m = from; m <= to; ++m) {
        const std::int64_t n = run == 0 ? y0 : y0 + FloorDiv(2 * (m - x0) * (y1 - y0) + run, 2 * run);
        if (n < (steep ? area.left : area.top) || n >= (steep ? area.right : area.bottom))
            continue;
        if (steep)
            canvas.SetPixel(static_cast<int>(n), static_cast<int>(m), colour);
        else
            canvas.SetPixel(static_cast<int>(m), static_cast<int>(n), colour);
    }
}

} // namespace

void MapView::SetSavedPosition(std::size_t item, std::optional<WorldPoint> saved)
{
    if (item >= m_positions.size())
        return;
    const auto found = m_savedPositions.find(item);
    if (found == m_savedPositions.end() ? !saved : (saved && found->second == *saved))
        return;
    if (m_bShowChanges)
        AddDirty(GhostBox(item));
    if (saved)
        m_savedPositions[item] = *saved;
    else
        m_savedPositions.erase(item);
    if (m_bShowChanges)
        AddDirty(GhostBox(item));
}

void MapView::ClearSavedPositions()
{
    if (m_bShowChanges)
        for (const auto& entry : m_savedPositions)
            AddDirty(GhostBox(entry.first));
    m_savedPositions.clear();
}

std::optional<WorldPoint> MapView::SavedPositionOf(std::size_t item) const
{
    const auto found = m_savedPositions.find(item);
    return found == m_savedPositions.end() ? std::nullopt : std::optional<WorldPoint>(found->second);
}

std::pair<std::int64_t, std::int64_t> MapView::FramePoint(WorldPoint p) const
{
    return {ZoomedPixels(p.x) + Origin() - m_nCenterX, Origin() - ZoomedPixels(p.y) - m_nCenterY};
}

PixelRect MapView::GhostBox(std::size_t item) const
{
    const auto found = m_savedPositions.find(item);
    if (found == m_savedPositions.end() || item >= m_categories.size() || !IsShown(m_categories[item]) ||
        !IsRowShown(item))
        return {};
    const auto [gx, gy] = FramePoint(found->second);
    const auto [x, y] = FramePosition(item);
    return {ClampFrame(std::min(gx, x) - kGhostReach), ClampFrame(std::min(gy, y) - kGhostReach),
            ClampFrame(std::max(gx, x) + kGhostReach + 1), ClampFrame(std::max(gy, y) + kGhostReach + 1)};
}

void MapView::PaintGhosts(Canvas& canvas, const PixelRect& area) const
{
    // Lines first, then the boxes at their ends: both in one colour, so their order does not show.
    std::vector<std::pair<std::int64_t, std::int64_t>> ghosts;
    for (const auto& [item, saved] : m_savedPositions) {
        if (!GhostBox(item).Intersects(area))
            continue;
        const auto [gx, gy] = FramePoint(saved);
        const auto [x, y] = FramePosition(item);
        ClippedLine(canvas, gx, gy, x, y, area, kGhostColour);
        ghosts.emplace_back(gx, gy);
    }
    for (const auto& [gx, gy] : ghosts) {
        if (gx + kGhostReach < area.left || gx - kGhostReach >= area.right || gy + kGhostReach < area.top ||
            gy - kGhostReach >= area.bottom)
            continue;
        const int x = static_cast<int>(gx);
        const int y = static_cast<int>(gy);
        for (int d = -kGhostReach; d <= kGhostReach; ++d) {
            canvas.SetPixel(x + d, y - kGhostReach, kGhostColour);
            canvas.SetPixel(x + d, y + kGhostReach, kGhostColour);
            canvas.SetPixel(x - kGhostReach, y + d, kGhostColour);
            canvas.SetPixel(x + kGhostReach, y + d, kGhostColour);
        }
    }
}

} // namespace orvik
