#include "map/MapView.h"

#include "common/Text.h"
#include "image/Bitmap.h"
#include "image/Pcx.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace orvik {

namespace {

constexpr Rgb kDecorationColour{0, 255, 0};
constexpr Rgb kVehicleColour{191, 191, 191};
constexpr Rgb kObjectColour{0, 255, 255};
constexpr Rgb kPersonColour{255, 0, 0};
constexpr Rgb kMarkerColour{255, 255, 0};
constexpr double kUnitsPerPixel = 131072.0;

// Mathematical modulo: 0..511 also for negative values.
int Wrap(std::int64_t v)
{
    const std::int64_t m = v % MapView::kSize;
    return static_cast<int>(m < 0 ? m + MapView::kSize : m);
}

// Products of the mouse arithmetic can leave the 32-bit range far from the origin; clamp them.
std::int32_t ClampToInt32(double v)
{
    if (v >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (v <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(std::trunc(v));
}

} // namespace

ItemCategory CategoryOf(std::int32_t id)
{
    if (id > 5000 && id < 6000)
        return ItemCategory::People;
    if (id > 1000 && id < 2000)
        return ItemCategory::Decorations;
    if (id > 2000 && id < 3000)
        return ItemCategory::Vehicles;
    if (id > 3000 && id < 4000)
        return ItemCategory::Buildings;
    if (id > 4000 && id < 5000)
        return ItemCategory::Objects;
    if (id > 6000 && id < 7000)
        return ItemCategory::Markers;
    return ItemCategory::None;
}

MapView::MapView() = default;

std::int32_t MapView::ToPixels(std::int32_t world)
{
    return static_cast<std::int32_t>(static_cast<double>(world) * kPixelsPerUnit);
}

std::int64_t MapView::ZoomedPixels(std::int32_t world) const
{
    return static_cast<std::int64_t>(static_cast<double>(world) * kPixelsPerUnit * m_nZoom);
}

void MapView::SetCenter(std::int32_t x, std::int32_t y)
{
    m_nCenterX = static_cast<std::int32_t>(ZoomedPixels(x) + 256);
    m_nCenterY = static_cast<std::int32_t>(256 - ZoomedPixels(y));
    m_bCentered = true;
    m_allDirty = true;
}

void MapView::CenterOnItems()
{
    if (!m_pModel || m_pModel->items.empty()) {
        SetCenter(0, 0);
        return;
    }
    std::int32_t minX = 100000000, minY = 100000000;
    std::int32_t maxX = -100000000, maxY = -100000000;
    for (const auto& item : m_pModel->items) {
        if (item->m_nX < minX)
            minX = item->m_nX;
        if (item->m_nX > maxX)
            maxX = item->m_nX;
        if (item->m_nY < minY)
            minY = item->m_nY;
        if (item->m_nY > maxY)
            maxY = item->m_nY;
    }
    // Summed in 64 bits so extreme coordinates cannot overflow; C++ division truncates toward zero.
    const auto cx = static_cast<std::int32_t>((static_cast<std::int64_t>(maxX) + minX) / 2);
    const auto cy = static_cast<std::int32_t>((static_cast<std::int64_t>(minY) + maxY) / 2);
    SetCenter(cx, cy);
}

void MapView::LoadMap(std::string path)
{
    m_hImage.reset();
    m_fullImage.reset();
    m_refusal.reset();
    std::uint32_t width = 0, height = 0;
    {
        // The shrunk copy is made while the decoded map is still held.
        constexpr std::uint64_t kShrunkBytes = std::uint64_t{kSize} * kSize * 3;
        PcxError error = PcxError::None;
        std::optional<PackedImage> loaded =
            LoadPcxImageWithin(path, kMaxDecodeBytes - kShrunkBytes, width, height, &error);
        if (!loaded)
            m_refusal = MapRefusal{error, MapSize{width, height}};
        // The game's colour maps are 1024 x 1024; other sizes are shrunk from their real size when
        // both sides reach 512, otherwise refused (enlarging is not supported).
        if (loaded && loaded->width >= kSize && loaded->height >= kSize &&
            loaded->pixels.size() >= static_cast<std::size_t>(loaded->width) * loaded->height * 3) {
            m_hImage = ShrinkImage(loaded->pixels.data(), loaded->width, loaded->height, kSize, kSize);
            if (m_hImage)
                m_fullImage = std::make_shared<const PackedImage>(std::move(*loaded));
        }
    }
    std::remove(path.c_str());
    DrawTerrain();
}

void MapView::DrawTerrain()
{
    // A refused or undecodable map leaves black terrain, never the previous mission's.
    m_terrain.Fill(Rgb{0, 0, 0});
    if (m_hImage)
        DrawImage(&m_terrain, m_hImage->pixels.data(), m_hImage->width, m_hImage->height, 0, 0, kSize, kSize);
    m_bCentered = false;
    m_allDirty = true;
}

void MapView::LoadMap(std::string path, const MapSource& source)
{
    LoadMap(std::move(path));
    std::erase_if(m_kept, [&](const KeptMap& kept) { return kept.source == source; });
    m_kept.push_front({source, m_fullImage, m_hImage, m_refusal});
    if (m_kept.size() > kKeptMaps)
        m_kept.pop_back();
}

bool MapView::ShowKeptMap(const MapSource& source)
{
    const auto it = std::find_if(m_kept.begin(), m_kept.end(), [&](const KeptMap& kept) { return kept.source == source; });
    if (it == m_kept.end())
        return false;
    m_fullImage = it->full;
    m_hImage = it->shrunk;
    m_refusal = it->refusal;
    std::rotate(m_kept.begin(), it, it + 1);
    DrawTerrain();
    return true;
}

bool MapView::IsShown(ItemCategory category) const
{
    switch (category) {
    case ItemCategory::People: return m_bShowPeople;
    case ItemCategory::Decorations: return m_bShowDecorations;
    case ItemCategory::Vehicles: return m_bShowVehicles;
    case ItemCategory::Buildings: return m_bShowBuildings;
    case ItemCategory::Objects: return m_bShowObjects;
    case ItemCategory::Markers: return m_bShowMarkers;
    case ItemCategory::None: return false;
    }
    return false;
}

void MapView::PaintMarker(Canvas& canvas, ItemCategory category, int x, int y) const
{
    switch (category) {
    case ItemCategory::Decorations: canvas.SetPixel(x, y, kDecorationColour); break;
    case ItemCategory::Vehicles: canvas.Ellipse(x - 2, y - 2, x + 2, y + 2, kVehicleColour); break;
    case ItemCategory::Buildings: canvas.Rectangle(x - 3, y - 3, x + 3, y + 3); break;
    case ItemCategory::Objects: canvas.SetPixel(x, y, kObjectColour); break;
    case ItemCategory::People: canvas.Ellipse(x - 2, y - 2, x + 2, y + 2, kPersonColour); break;
    case ItemCategory::Markers:
        canvas.Line(x - 2, y, x + 2, y, kMarkerColour);
        canvas.Line(x, y - 2, x, y + 2, kMarkerColour);
        break;
    case ItemCategory::None: break;
    }
}

MapView::PaintState MapView::StateFor(const Canvas& canvas) const
{
    unsigned flags = 0;
    for (const bool flag : {m_bShowPeople, m_bShowDecorations, m_bShowVehicles, m_bShowBuildings, m_bShowObjects,
                            m_bShowMarkers, m_bShowIds, m_bShowChanges})
        flags = flags * 2 + (flag ? 1 : 0);
    return {canvas.Data(), canvas.Width(), canvas.Height(), m_nCenterX, m_nCenterY, m_nZoom, m_nSize, flags, m_pModel};
}

void MapView::Paint(Canvas& canvas)
{
    if (!m_pModel)
        return;
    if (!m_bCentered)
        CenterOnItems();
    const PaintState state = StateFor(canvas);
    if (m_allDirty || !m_painted || !(*m_painted == state)) {
        PaintAll(canvas);
        m_painted = state;
    } else {
        for (const PixelRect& area : m_dirty)
            PaintArea(canvas, area);
    }
    m_dirty.clear();
    m_allDirty = false;
}

std::optional<PixelRect> MapView::PendingArea() const
{
    if (m_allDirty || !m_painted || !m_pModel || !m_bCentered)
        return std::nullopt;
    PixelRect box;
    for (const PixelRect& area : m_dirty)
        box = box.Empty() ? area
                          : PixelRect{std::min(box.left, area.left), std::min(box.top, area.top),
                                      std::max(box.right, area.right), std::max(box.bottom, area.bottom)};
    return box;
}

void MapView::PaintItem(Canvas& canvas, std::size_t item) const
{
    const auto [wx, wy] = FramePosition(item);
    if (!IsDrawn(item, wx, wy))
        return;
    const int x = static_cast<int>(wx);
    const int y = static_cast<int>(wy);
    PaintMarker(canvas, m_categories[item], x, y);
    if (m_bShowIds)
        canvas.Text(x - 5, y - 7, FormatLong(m_pModel->items[item]->m_nNumber), kLabelColour);
}

void MapView::PaintAll(Canvas& canvas)
{
    canvas.ResetClip();
    if (m_nZoom > 1 && m_fullImage) {
        PaintTiledTerrain(canvas, m_fullImage->pixels.data(), m_fullImage->width, m_fullImage->height,
                          std::size_t{m_fullImage->width} * 3, canvas.Clip());
    } else if (m_nZoom > 1 || m_nSize != kSize) {
        PaintTiledTerrain(canvas, m_terrain.Data(), kSize, kSize, static_cast<std::size_t>(m_terrain.Stride()),
                          canvas.Clip());
    } else {
        const int sx = Wrap(m_nCenterX);
        const int sy = Wrap(m_nCenterY);
        const int w = kSize - sx;
        const int h = kSize - sy;
        canvas.CopyFrom(m_terrain, 0, 0, w, h, sx, sy);
        if (sx > 0)
            canvas.CopyFrom(m_terrain, w, 0, sx, h, 0, sy);
        if (sy > 0) {
            canvas.CopyFrom(m_terrain, 0, h, w, sy, sx, 0);
            if (sx > 0)
                canvas.CopyFrom(m_terrain, w, h, sx, sy, 0, 0);
        }
    }
    if (m_bShowChanges)
        PaintGhosts(canvas, canvas.Clip());
    const std::size_t count = m_pModel->items.size();
    // A cell's tops may be rows the table hides, covering shown ones: then every item is visited.
    if (m_bShowIds || m_onlyRows) {
        for (std::size_t i = 0; i < count; ++i)
            PaintItem(canvas, i);
    } else {
        // Only the markers that show: each cell's tops, kept for the small redraws that follow.
        std::vector<bool> shown(count, false);
        m_index.MarkAllTops(LookOf(), shown);
        for (const std::size_t i : m_dragItems)
            if (i < count)
                shown[i] = true;
        for (std::size_t i = 0; i < count; ++i)
            if (shown[i])
                PaintItem(canvas, i);
    }
    // Rings go on top of every marker and label, so a selected item is never hidden.
    for (const std::size_t i : m_selectedItems) {
        const auto [wx, wy] = FramePosition(i);
        if (IsDrawn(i, wx, wy))
            PaintRing(canvas, static_cast<int>(wx), static_cast<int>(wy));
    }
}

void MapView::PaintArea(Canvas& canvas, const PixelRect& area)
{
    canvas.SetClip(area);
    if (canvas.Clip().Empty()) {
        canvas.ResetClip();
        return;
    }
    // The same source pixels as a whole paint: the tiled form covers the unzoomed copy too.
    if (m_nZoom > 1 && m_fullImage)
        PaintTiledTerrain(canvas, m_fullImage->pixels.data(), m_fullImage->width, m_fullImage->height,
                          std::size_t{m_fullImage->width} * 3, canvas.Clip());
    else
        PaintTiledTerrain(canvas, m_terrain.Data(), kSize, kSize, static_cast<std::size_t>(m_terrain.Stride()),
                          canvas.Clip());
    if (m_bShowChanges)
        PaintGhosts(canvas, canvas.Clip());
    for (const std::size_t i : VisibleIn(area))
        PaintItem(canvas, i);
    for (const std::size_t i : m_selectedItems) {
        const auto [wx, wy] = FramePosition(i);
        if (IsDrawn(i, wx, wy) && ItemBox(i).Intersects(area))
            PaintRing(canvas, static_cast<int>(wx), static_cast<int>(wy));
    }
    canvas.ResetClip();
}

WorldPoint MapView::WorldAt(int x, int y) const { return WorldAtExact(x, y); }

WorldPoint MapView::WorldAtExact(double x, double y) const
{
    const double dx = x + m_nCenterX - Origin();
    const double dy = y + m_nCenterY - Origin();
    const double units = kUnitsPerPixel / m_nZoom;
    return {ClampToInt32(dx * units), ClampToInt32(dy * -units)};
}

std::string MapView::ReadoutText(int x, int y) const
{
    const WorldPoint p = WorldAt(x, y);
    return "x: " + FormatLong(p.x) + "   y: " + FormatLong(p.y);
}

void MapView::Click(int x, int y)
{
    const WorldPoint p = WorldAt(x, y);
    SetCenter(p.x, p.y);
}

} // namespace orvik
