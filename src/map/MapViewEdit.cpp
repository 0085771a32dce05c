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
// Past this many areas to draw again, one whole paint is cheaper.
constexpr std::size_t kMaxDirtyAreas = 256;

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

std::shared_ptr<void> MapView::DetachModel()
{
    struct Storage {
        std::vector<WorldPoint> positions;
        std::vector<ItemCategory> categories;
        MarkerIndex index;
    };
    auto storage =
        std::make_shared<Storage>(Storage{std::move(m_positions), std::move(m_categories), std::move(m_index)});
    m_index = MarkerIndex();
    SetModel(nullptr); // leaves the moved-from containers empty
    return storage;
}

void MapView::SyncPositions()
{
    m_positions.clear();
    m_dragItems.clear();
    const std::size_t count = m_pModel ? m_pModel->items.size() : 0;
    m_positions.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        m_positions.push_back({m_pModel->items[i]->m_nX, m_pModel->items[i]->m_nY});
    m_selected.assign(count, false);
    m_selectedItems.clear();
    m_dragged.assign(count, false);
    m_savedPositions.clear();
    m_index.Build(m_positions);
    SyncKinds();
}

void MapView::SyncKinds()
{
    const std::size_t count = m_pModel ? m_pModel->items.size() : 0;
    m_categories.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        m_categories[i] = CategoryOf(m_pModel->items[i]->m_nId);
    m_index.ForgetTops();
    m_allDirty = true;
}

void MapView::InvalidateTops(std::size_t item)
{
    if (item < m_positions.size())
        m_index.Touch(m_positions[item]);
}

MarkerIndex::Look MapView::LookOf() const
{
    return {[this](std::uint32_t i) {
                const WorldPoint p = PositionOf(i);
                const auto kind =
                    static_cast<std::uint64_t>(i < m_categories.size() ? m_categories[i] : ItemCategory::None);
                return (static_cast<std::uint64_t>(ZoomedPixels(p.x) & 0xffffff) << 32) |
                       (static_cast<std::uint64_t>(ZoomedPixels(p.y) & 0xffffff) << 8) | kind;
            },
            [this](std::uint32_t i) { return i < m_dragged.size() && m_dragged[i]; }};
}

PixelRect MapView::Reach() const
{
    // Markers reach 3 pixels around the centre; a label starts 5 left of it and 7 above and holds
    // at most 11 characters of about 7 pixels.
    return m_bShowIds ? PixelRect{-5, -7, 84, 12} : PixelRect{-3, -3, 4, 4};
}

PixelRect MapView::ItemBox(std::size_t item) const
{
    const auto [wx, wy] = FramePosition(item);
    PixelRect reach = Reach();
    if (IsSelected(item)) {
        // The ring reaches 7 pixels around the centre.
        reach = {std::min(reach.left, -7), std::min(reach.top, -7), std::max(reach.right, 8),
                 std::max(reach.bottom, 8)};
    }
    const auto clamp = [](std::int64_t v) {
        return static_cast<int>(std::clamp<std::int64_t>(v, -(1 << 20), 1 << 20));
    };
    return {clamp(wx + reach.left), clamp(wy + reach.top), clamp(wx + reach.right), clamp(wy + reach.bottom)};
}

void MapView::MarkDirty(std::size_t item)
{
    if (m_allDirty || !m_painted)
        return;
    AddDirty(ItemBox(item));
    if (m_bShowChanges)
        AddDirty(GhostBox(item));
}

void MapView::AddDirty(const PixelRect& box)
{
    if (m_allDirty || !m_painted || box.Empty() || !box.Intersects({0, 0, m_painted->width, m_painted->height}))
        return;
    // A box that overlaps one already there joins it when the two are drawn cheaper as one: an item
    // dragged a pixel further, or its place and its ring.
    const auto size = [](const PixelRect& r) {
        return std::int64_t{r.right - r.left} * (r.bottom - r.top);
    };
    for (PixelRect& area : m_dirty) {
        const PixelRect joined{std::min(area.left, box.left), std::min(area.top, box.top),
                               std::max(area.right, box.right), std::max(area.bottom, box.bottom)};
        if (size(joined) <= size(area) + size(box)) {
            area = joined;
            return;
        }
    }
    if (m_dirty.size() >= kMaxDirtyAreas) {
        m_allDirty = true;
        m_dirty.clear();
        return;
    }
    m_dirty.push_back(box);
}

std::vector<std::size_t> MapView::ItemsIn(const PixelRect& frameArea) const { return CandidatesIn(frameArea, false); }

std::vector<std::size_t> MapView::VisibleIn(const PixelRect& frameArea) const
{
    // A cell's tops may be hidden rows that cover shown ones: then every candidate is looked at.
    return CandidatesIn(frameArea, !m_bShowIds && !m_onlyRows);
}

std::vector<std::size_t> MapView::CandidatesIn(const PixelRect& frameArea, bool topsOnly) const
{
    std::vector<std::size_t> items;
    if (!m_pModel)
        return items;
    // Marker centres that can reach the area; the frame position is zoomed pixels from the origin,
    // and a map pixel p spans zoomed pixels p * zoom to p * zoom + zoom.
    const PixelRect reach = Reach();
    const std::int64_t zl = std::int64_t{frameArea.left} - reach.right - Origin() + m_nCenterX;
    const std::int64_t zr = std::int64_t{frameArea.right} - reach.left - Origin() + m_nCenterX;
    const std::int64_t zt = Origin() - m_nCenterY - (std::int64_t{frameArea.bottom} - reach.top);
    const std::int64_t zb = Origin() - m_nCenterY - (std::int64_t{frameArea.top} - reach.bottom);
    // In map pixels, one more each way for the truncation toward zero.
    m_index.Collect(FloorDiv(zl, m_nZoom) - 1, FloorDiv(zr, m_nZoom) + 1, FloorDiv(zt, m_nZoom) - 1,
                    FloorDiv(zb, m_nZoom) + 1, topsOnly, LookOf(), items);
    // Dragged items are drawn away from their cells.
    items.insert(items.end(), m_dragItems.begin(), m_dragItems.end());
    // Only the markers that reach the area, before the sort: a cell holds more than the area.
    const PixelRect area{frameArea.left - reach.right, frameArea.top - reach.bottom, frameArea.right - reach.left,
                         frameArea.bottom - reach.top};
    std::erase_if(items, [&](std::size_t i) {
        const auto [wx, wy] = FramePosition(i);
        return wx < area.left || wx >= area.right || wy < area.top || wy >= area.bottom;
    });
    std::sort(items.begin(), items.end());
    items.erase(std::unique(items.begin(), items.end()), items.end());
    return items;
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
    if (item >= m_positions.size() || m_positions[item] == p)
        return;
    MarkDirty(item);
    m_index.Move(item, m_positions[item], p);
    m_positions[item] = p;
    MarkDirty(item);
}

void MapView::SetSelection(const std::vector<std::size_t>& items)
{
    for (const std::size_t i : m_selectedItems) {
        MarkDirty(i); // with its ring
        m_selected[i] = false;
    }
    m_selectedItems.clear();
    for (const std::size_t i : items)
        if (i < m_selected.size() && !m_selected[i]) {
            m_selected[i] = true;
            m_selectedItems.push_back(i);
            MarkDirty(i);
        }
    std::sort(m_selectedItems.begin(), m_selectedItems.end());
}

bool MapView::IsSelected(std::size_t item) const { return item < m_selected.size() && m_selected[item]; }

std::vector<std::size_t> MapView::Selection() const { return m_selectedItems; }

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
    // An index may outlive its items for a moment while a mission is switched.
    if (!(wx > 0 && wx < m_nSize && wy > 0 && wy < m_nSize) || item >= m_pModel->items.size() ||
        item >= m_categories.size())
        return false;
    return IsShown(m_categories[item]) && IsRowShown(item);
}

void MapView::ShowOnlyRows(std::vector<bool> rows)
{
    m_onlyRows = std::move(rows);
    Invalidate();
}

void MapView::ShowAllRows()
{
    m_onlyRows.reset();
    Invalidate();
}

std::optional<std::size_t> MapView::ItemAt(int x, int y) const
{
    if (!m_pModel)
        return std::nullopt;
    const std::vector<std::size_t> near = ItemsIn({x - kHitRadius, y - kHitRadius, x + kHitRadius + 1, y + kHitRadius + 1});
    // Searched backwards: the marker drawn last is the one on top.
    for (auto it = near.rbegin(); it != near.rend(); ++it) {
        const std::size_t i = *it;
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
    // Plain names, not bindings: lambdas may not capture those everywhere.
    const int left = std::min(x0, x1), right = std::max(x0, x1);
    const int top = std::min(y0, y1), bottom = std::max(y0, y1);
    // The index gives the markers that reach the rectangle, which takes in those centred in it.
    items = ItemsIn(PixelRect{left, top, right, bottom});
    std::erase_if(items, [&](std::size_t i) {
        const auto [wx, wy] = FramePosition(i);
        return !(wx >= left && wx <= right && wy >= top && wy <= bottom && IsDrawn(i, wx, wy));
    });
    return items;
}

void MapView::SetDrag(std::vector<std::size_t> items, int dx, int dy)
{
    ClearDrag();
    std::erase_if(items, [this](std::size_t i) { return i >= m_dragged.size(); });
    // Each item leaves the place where it stood and appears where it is dragged to.
    for (const std::size_t i : items) {
        MarkDirty(i);
        m_dragged[i] = true;
        InvalidateTops(i);
    }
    m_dragItems = std::move(items);
    m_dragDx = dx;
    m_dragDy = dy;
    for (const std::size_t i : m_dragItems)
        MarkDirty(i);
}

void MapView::ClearDrag()
{
    for (const std::size_t i : m_dragItems) {
        MarkDirty(i);
        m_dragged[i] = false;
        InvalidateTops(i);
        MarkDirty(i);
    }
    m_dragItems.clear();
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
    m_allDirty = true;
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
    m_index.ForgetTops();
    m_allDirty = true;
    return true;
}

void MapView::SetFrameSize(int size)
{
    if (size > 0 && size != m_nSize) {
        m_nSize = size;
        m_allDirty = true;
    }
}

void MapView::PaintTiledTerrain(Canvas& canvas, const std::uint8_t* pixels, std::uint32_t width, std::uint32_t height,
                                std::size_t stride, const PixelRect& area) const
{
    // Frame pixel f shows zoomed pixel f + centre - origin, which is source pixel
    // floor(that * size / (512 * zoom)), repeating.
    const std::int64_t scale = std::int64_t{kSize} * m_nZoom;
    const int w = area.right - area.left;
    if (w <= 0)
        return;
    std::vector<std::uint32_t> columns(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x) {
        const std::int64_t p = static_cast<std::int64_t>(x + area.left) + m_nCenterX - Origin();
        columns[static_cast<std::size_t>(x)] = static_cast<std::uint32_t>(FloorMod(FloorDiv(p * width, scale), width));
    }
    for (int y = area.top; y < area.bottom; ++y) {
        const std::int64_t p = static_cast<std::int64_t>(y) + m_nCenterY - Origin();
        const auto row = static_cast<std::size_t>(FloorMod(FloorDiv(p * height, scale), height));
        const std::uint8_t* src = pixels + row * stride;
        std::uint8_t* dst = canvas.Data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(canvas.Stride()) +
                            static_cast<std::size_t>(area.left) * 3;
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
