// The map as an editing surface: marker positions that follow the document, selection, hit tests,
// dragging, panning and zoom.
#include "map/MapView.h"

#include "common/Text.h"

#include <algorithm>
#include <limits>

namespace orvik {

namespace {

constexpr Rgb kRingColour{255, 255, 255};
constexpr Rgb kRingEdge{0, 0, 0};
constexpr int kHitRadius = 3;

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b)
{
    const std::int64_t m = a % b;
    return m < 0 ? m + b : m;
}

std::int32_t ClampCentre(std::int64_t v)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

} // namespace

std::optional<std::int32_t> ParseCoordinate(std::string_view text) { return ParseInt32(text); }

void MapView::SetModel(const CMissionModel* model)
{
    m_pModel = model;
    SyncPositions();
}

void MapView::SyncPositions()
{
    m_positions.clear();
    ClearDrag();
    const std::size_t count = m_pModel ? m_pModel->items.size() : 0;
    m_positions.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        m_positions.push_back({m_pModel->items[i]->m_nX, m_pModel->items[i]->m_nY});
    m_selected.assign(count, false);
}

WorldPoint MapView::PositionOf(std::size_t item) const
{
    if (item < m_positions.size())
        return m_positions[item];
    const auto& items = m_pModel->items;
    return item < items.size() ? WorldPoint{items[item]->m_nX, items[item]->m_nY} : WorldPoint{};
}

void MapView::SetPosition(std::size_t item, WorldPoint p)
{
    if (item < m_positions.size())
        m_positions[item] = p;
}

void MapView::SetSelection(const std::vector<std::size_t>& items)
{
    std::fill(m_selected.begin(), m_selected.end(), false);
    for (std::size_t i : items)
        if (i < m_selected.size())
            m_selected[i] = true;
}

bool MapView::IsSelected(std::size_t item) const { return item < m_selected.size() && m_selected[item]; }

std::vector<std::size_t> MapView::Selection() const
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < m_selected.size(); ++i)
        if (m_selected[i])
            out.push_back(i);
    return out;
}

std::pair<std::int64_t, std::int64_t> MapView::FramePosition(std::size_t item) const
{
    const WorldPoint p = PositionOf(item);
    std::int64_t wx = ZoomedPixels(p.x) + Origin() - m_nCenterX;
    std::int64_t wy = Origin() - ZoomedPixels(p.y) - m_nCenterY;
    if (item < m_dragged.size() && m_dragged[item]) {
        wx += m_dragDx;
        wy += m_dragDy;
    }
    return {wx, wy};
}

bool MapView::IsDrawn(std::size_t item, std::int64_t wx, std::int64_t wy) const
{
    if (!(wx > 0 && wx < m_nSize && wy > 0 && wy < m_nSize))
        return false;
    return IsShown(CategoryOf(m_pModel->items[item]->m_nId));
}

std::optional<std::size_t> MapView::ItemAt(int x, int y) const
{
    if (!m_pModel)
        return std::nullopt;
    // Searched backwards: the marker drawn last is the one on top.
    for (std::size_t i = m_pModel->items.size(); i-- > 0;) {
        const auto [wx, wy] = FramePosition(i);
        const std::int64_t dx = wx - x;
        const std::int64_t dy = wy - y;
        if (dx * dx + dy * dy <= kHitRadius * kHitRadius && IsDrawn(i, wx, wy))
            return i;
    }
    return std::nullopt;
}

std::vector<std::size_t> MapView::ItemsIn(int x0, int y0, int x1, int y1) const
{
    std::vector<std::size_t> items;
    if (!m_pModel)
        return items;
    const auto [left, right] = std::minmax(x0, x1);
    const auto [top, bottom] = std::minmax(y0, y1);
    for (std::size_t i = 0; i < m_pModel->items.size(); ++i) {
        const auto [wx, wy] = FramePosition(i);
        if (wx >= left && wx <= right && wy >= top && wy <= bottom && IsDrawn(i, wx, wy))
            items.push_back(i);
    }
    return items;
}

void MapView::SetDrag(std::vector<std::size_t> items, int dx, int dy)
{
    m_dragged.assign(m_pModel ? m_pModel->items.size() : 0, false);
    for (std::size_t i : items)
        if (i < m_dragged.size())
            m_dragged[i] = true;
    m_dragItems = std::move(items);
    m_dragDx = dx;
    m_dragDy = dy;
}

std::vector<std::pair<std::size_t, WorldPoint>> MapView::DropPositions() const
{
    std::vector<std::pair<std::size_t, WorldPoint>> out;
    if (!m_pModel)
        return out;
    for (std::size_t i : m_dragItems) {
        if (i >= m_pModel->items.size())
            continue;
        const auto [wx, wy] = FramePosition(i);
        out.emplace_back(i, WorldAtExact(static_cast<double>(wx), static_cast<double>(wy)));
    }
    return out;
}

void MapView::PanBy(int dx, int dy)
{
    m_nCenterX = ClampCentre(static_cast<std::int64_t>(m_nCenterX) - dx);
    m_nCenterY = ClampCentre(static_cast<std::int64_t>(m_nCenterY) - dy);
    m_bCentered = true;
}

bool MapView::SetZoom(int zoom, int x, int y)
{
    if (!IsValidZoom(zoom) || zoom == m_nZoom)
        return false;
    // The zoomed pixel under (x, y) is scaled, then the centre is placed so that it stays at (x, y).
    const std::int64_t px = static_cast<std::int64_t>(x) + m_nCenterX - Origin();
    const std::int64_t py = static_cast<std::int64_t>(y) + m_nCenterY - Origin();
    const std::int64_t nx = zoom > m_nZoom ? px * (zoom / m_nZoom) : FloorDiv(px, m_nZoom / zoom);
    const std::int64_t ny = zoom > m_nZoom ? py * (zoom / m_nZoom) : FloorDiv(py, m_nZoom / zoom);
    m_nCenterX = ClampCentre(nx - x + Origin());
    m_nCenterY = ClampCentre(ny - y + Origin());
    m_nZoom = zoom;
    return true;
}

void MapView::SetFrameSize(int size)
{
    if (size > 0)
        m_nSize = size;
}

void MapView::PaintTiledTerrain(Canvas& canvas, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                std::size_t stride) const
{
    // Frame pixel f shows zoomed pixel f + centre - origin, which is source pixel
    // floor(that * size / (512 * zoom)), repeating.
    const std::int64_t scale = std::int64_t{kSize} * m_nZoom;
    const int w = canvas.Width();
    const int h = canvas.Height();
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const std::int64_t p = static_cast<std::int64_t>(x) + m_nCenterX - Origin();
        columns[static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(FloorMod(FloorDiv(p * width, scale), width));
    }
    for (int y = 0; y < h; ++y) {
        const std::int64_t p = static_cast<std::int64_t>(y) + m_nCenterY - Origin();
        const auto row = static_cast<std::size_t>(FloorMod(FloorDiv(p * height, scale), height));
        const std::uint8_t* src = pixels + row * stride;
        std::uint8_t* dst = canvas.Data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.Stride());
        for (int x = 0; x < w; ++x, dst += 3) {
            const std::uint8_t* s = src + std::size_t{columns[static_cast<std::size_t>(x)]} * 3;
            dst[0] = s[0];
            dst[1] = s[1];
            dst[2] = s[2];
        }
    }
}

void MapView::PaintRing(Canvas& canvas, int x, int y) const
{
    // A white ring of radius 5 between two black edges: visible on any terrain and any marker.
    for (int dy = -7; dy <= 7; ++dy) {
        for (int dx = -7; dx <= 7; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 >= 20 && d2 <= 30)
                canvas.SetPixel(x + dx, y + dy, kRingColour);
            else if ((d2 >= 13 && d2 < 20) || (d2 > 30 && d2 <= 42))
                canvas.SetPixel(x + dx, y + dy, kRingEdge);
        }
    }
}

} // namespace orvik
