#include "exercise/PlainPainter.h"

#include "labels/LabelPainter.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvik::exercise {

namespace {

enum class Kind { None, People, Decorations, Vehicles, Buildings, Objects, Markers };

// Open ranges of the kind id.
Kind KindOf(std::int32_t id)
{
    if (id > 1000 && id < 2000)
        return Kind::Decorations;
    if (id > 2000 && id < 3000)
        return Kind::Vehicles;
    if (id > 3000 && id < 4000)
        return Kind::Buildings;
    if (id > 4000 && id < 5000)
        return Kind::Objects;
    if (id > 5000 && id < 6000)
        return Kind::People;
    if (id > 6000 && id < 7000)
        return Kind::Markers;
    return Kind::None;
}

bool Shown(const MapView& v, Kind kind)
{
    switch (kind) {
    case Kind::People: return v.m_bShowPeople;
    case Kind::Decorations: return v.m_bShowDecorations;
    case Kind::Vehicles: return v.m_bShowVehicles;
    case Kind::Buildings: return v.m_bShowBuildings;
    case Kind::Objects: return v.m_bShowObjects;
    case Kind::Markers: return v.m_bShowMarkers;
    case Kind::None: break;
    }
    return false;
}

// The 4 x 4 pixels from (x - 2, y - 2) less the corners.
void Blob(Canvas& c, int x, int y, Rgb colour)
{
    for (int dy = -2; dy <= 1; ++dy)
        for (int dx = -2; dx <= 1; ++dx)
            if (!((dx == -2 || dx == 1) && (dy == -2 || dy == 1)))
                c.SetPixel(x + dx, y + dy, colour);
}

void Marker(Canvas& c, Kind kind, int x, int y)
{
    switch (kind) {
    case Kind::Decorations: c.SetPixel(x, y, {0, 255, 0}); break;
    case Kind::Objects: c.SetPixel(x, y, {0, 255, 255}); break;
    case Kind::Vehicles: Blob(c, x, y, {191, 191, 191}); break;
    case Kind::People: Blob(c, x, y, {255, 0, 0}); break;
    case Kind::Buildings:
        for (int dy = -3; dy <= 2; ++dy)
            for (int dx = -3; dx <= 2; ++dx)
                c.SetPixel(x + dx, y + dy,
                           dx == -3 || dx == 2 || dy == -3 || dy == 2 ? Rgb{0, 0, 0} : Rgb{255, 255, 255});
        break;
    case Kind::Markers:
        for (int d = -2; d <= 1; ++d) {
            c.SetPixel(x + d, y, {255, 255, 0});
            c.SetPixel(x, y + d, {255, 255, 0});
        }
        break;
    case Kind::None: break;
    }
}

// White at squared distances 20 to 30, black just inside (13 to 19) and outside (31 to 42).
void Ring(Canvas& c, int x, int y)
{
    for (int dy = -7; dy <= 7; ++dy)
        for (int dx = -7; dx <= 7; ++dx) {
            const int d2 = dx * dx + dy * dy;
            if (d2 >= 20 && d2 <= 30)
                c.SetPixel(x + dx, y + dy, {255, 255, 255});
            else if (d2 >= 13 && d2 <= 42)
                c.SetPixel(x + dx, y + dy, {0, 0, 0});
        }
}

std::int64_t FloorMod(std::int64_t a, std::int64_t b) { return ((a % b) + b) % b; }
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return (a - FloorMod(a, b)) / b; }

} // namespace

Canvas PaintPlain(const MapView& view)
{
    const int size = view.FrameSize();
    Canvas out(size, size);
    InstallMapLabelDrawer(out);
    const CMissionModel* model = view.Model();
    if (model == nullptr)
        return out;
    const int zoom = view.Zoom();
    // Frame pixel f shows zoomed map pixel f + centre - origin.
    const std::int64_t origin = size / 2 + MapView::kSize / 2;
    const Canvas& terrain = view.Terrain();
    const auto source = [&](int f, std::int32_t centre) {
        return static_cast<int>(FloorMod(FloorDiv(f + centre - origin, zoom), MapView::kSize));
    };
    for (int fy = 0; fy < size; ++fy) {
        const std::uint8_t* from =
            terrain.Data() + static_cast<std::ptrdiff_t>(source(fy, view.CenterY())) * terrain.Stride();
        std::uint8_t* to = out.Data() + static_cast<std::ptrdiff_t>(fy) * out.Stride();
        for (int fx = 0; fx < size; ++fx)
            std::copy_n(from + source(fx, view.CenterX()) * 3, 3, to + fx * 3);
    }
    // Truncated toward zero, as integer division does.
    const auto place = [&](std::size_t i) {
        const WorldPoint p = view.PositionOf(i);
        return std::pair{std::int64_t{p.x} * zoom / 131072 + origin - view.CenterX(),
                         origin - std::int64_t{p.y} * zoom / 131072 - view.CenterY()};
    };
    const auto drawn = [&](std::size_t i) {
        const auto [x, y] = place(i);
        return x > 0 && x < size && y > 0 && y < size && Shown(view, KindOf(model->items[i]->m_nId)) &&
               view.IsRowShown(i);
    };
    // Saved places: every pixel of a line along its longer axis, the other coordinate rounded halves up
    // from the end with the smaller one, then a 5 x 5 outline at the saved place; all under the markers.
    if (view.m_bShowChanges) {
        constexpr Rgb kGhost{200, 200, 200};
        std::vector<std::pair<std::int64_t, std::int64_t>> boxes;
        for (std::size_t i = 0; i < model->items.size(); ++i) {
            const std::optional<WorldPoint> saved = view.SavedPositionOf(i);
            if (!saved || !Shown(view, KindOf(model->items[i]->m_nId)) || !view.IsRowShown(i))
                continue;
            const std::int64_t gx = std::int64_t{saved->x} * zoom / 131072 + origin - view.CenterX();
            const std::int64_t gy = origin - std::int64_t{saved->y} * zoom / 131072 - view.CenterY();
            const auto [x, y] = place(i);
            const bool steep = std::abs(y - gy) > std::abs(x - gx);
            // (a, b): along the longer axis, then across it.
            std::int64_t a0 = steep ? gy : gx, b0 = steep ? gx : gy, a1 = steep ? y : x, b1 = steep ? x : y;
            if (a1 < a0) {
                std::swap(a0, a1);
                std::swap(b0, b1);
            }
            for (std::int64_t a = std::max<std::int64_t>(a0, 0); a <= std::min<std::int64_t>(a1, size - 1); ++a) {
                const std::int64_t b = a1 == a0 ? b0 : b0 + FloorDiv(2 * (a - a0) * (b1 - b0) + (a1 - a0), 2 * (a1 - a0));
                if (b >= 0 && b < size)
                    out.SetPixel(static_cast<int>(steep ? b : a), static_cast<int>(steep ? a : b), kGhost);
            }
            boxes.emplace_back(gx, gy);
        }
        for (const auto& [gx, gy] : boxes)
            for (std::int64_t dy = -2; dy <= 2; ++dy)
                for (std::int64_t dx = -2; dx <= 2; ++dx) {
                    const std::int64_t px = gx + dx, py = gy + dy;
                    if ((dx == -2 || dx == 2 || dy == -2 || dy == 2) && px >= 0 && px < size && py >= 0 && py < size)
                        out.SetPixel(static_cast<int>(px), static_cast<int>(py), kGhost);
                }
    }
    for (std::size_t i = 0; i < model->items.size(); ++i) {
        if (!drawn(i))
            continue;
        const auto [x, y] = place(i);
        Marker(out, KindOf(model->items[i]->m_nId), static_cast<int>(x), static_cast<int>(y));
        if (view.m_bShowIds)
            out.Text(static_cast<int>(x) - 5, static_cast<int>(y) - 7, std::to_string(model->items[i]->m_nNumber),
                     {255, 0, 255});
    }
    for (const std::size_t i : view.Selection())
        if (i < model->items.size() && drawn(i)) {
            const auto [x, y] = place(i);
            Ring(out, static_cast<int>(x), static_cast<int>(y));
        }
    return out;
}

} // namespace orvik::exercise
