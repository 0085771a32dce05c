#include "map/MarkerIndex.h"

#include "map/MapView.h"

#include <algorithm>

namespace orvik {

namespace {

// Cells are 4 x 4 map pixels.
constexpr int kCellShift = 2;

std::uint64_t CellKey(std::int64_t cx, std::int64_t cy)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(cx)) << 32) | static_cast<std::uint32_t>(cy);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

std::uint64_t MarkerIndex::CellOf(WorldPoint p)
{
    // Map pixels are 2^17 world units, counted from the floor; the shift floors negative values too.
    return CellKey(p.x >> (17 + kCellShift), p.y >> (17 + kCellShift));
}

void MarkerIndex::Build(const std::vector<WorldPoint>& positions)
{
    m_cells.clear();
    ++m_generation;
    // In item order, so each cell's list is in order as it grows.
    for (std::size_t i = 0; i < positions.size(); ++i)
        m_cells[CellOf(positions[i])].items.push_back(static_cast<std::uint32_t>(i));
}

void MarkerIndex::Clear()
{
    m_cells.clear();
    ++m_generation;
}

void MarkerIndex::Move(std::size_t item, WorldPoint from, WorldPoint to)
{
    Remove(item, from);
    Add(item, to);
}

void MarkerIndex::Add(std::size_t item, WorldPoint p)
{
    Cell& cell = m_cells[CellOf(p)];
    const auto i = static_cast<std::uint32_t>(item);
    cell.items.insert(std::upper_bound(cell.items.begin(), cell.items.end(), i), i);
    cell.generation = 0;
}

void MarkerIndex::Remove(std::size_t item, WorldPoint p)
{
    const auto it = m_cells.find(CellOf(p));
    if (it == m_cells.end())
        return;
    std::vector<std::uint32_t>& items = it->second.items;
    const auto at = std::lower_bound(items.begin(), items.end(), static_cast<std::uint32_t>(item));
    if (at != items.end() && *at == item)
        items.erase(at);
    it->second.generation = 0;
    if (items.empty())
        m_cells.erase(it);
}

void MarkerIndex::Touch(WorldPoint p)
{
    if (const auto it = m_cells.find(CellOf(p)); it != m_cells.end())
        it->second.generation = 0;
}

const std::vector<std::uint32_t>& MarkerIndex::TopsOf(const Cell& cell, const Look& look) const
{
    if (cell.generation == m_generation)
        return cell.tops;
    // Markers of one kind at one zoomed pixel cover the same pixels in the same colours: only the
    // last one drawn shows. A cell holds whole zoomed pixels, so its own items settle it, and
    // crowded missions stack many items on a pixel. An open-addressed set of (pixel, kind) keys;
    // 0 marks a free slot, so keys start at 1.
    cell.tops.clear();
    std::size_t slots = 16;
    while (slots < 2 * cell.items.size())
        slots *= 2;
    m_scratch.assign(slots, 0);
    for (auto it = cell.items.rbegin(); it != cell.items.rend(); ++it) {
        const std::uint32_t i = *it;
        if (look.away(i))
            continue;
        const std::uint64_t key = look.pixelAndKind(i) + 1;
        std::size_t slot = static_cast<std::size_t>((key * 0x9e3779b97f4a7c15ull) >> 40) & (slots - 1);
        while (m_scratch[slot] != 0 && m_scratch[slot] != key)
            slot = (slot + 1) & (slots - 1);
        if (m_scratch[slot] == 0) {
            m_scratch[slot] = key;
            cell.tops.push_back(i);
        }
    }
    std::reverse(cell.tops.begin(), cell.tops.end());
    cell.generation = m_generation;
    return cell.tops;
}

void MarkerIndex::Collect(std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1, bool topsOnly,
                          const Look& look, std::vector<std::size_t>& out) const
{
    const std::int64_t cx0 = FloorDiv(x0, 1 << kCellShift), cx1 = FloorDiv(x1, 1 << kCellShift);
    const std::int64_t cy0 = FloorDiv(y0, 1 << kCellShift), cy1 = FloorDiv(y1, 1 << kCellShift);
    const auto take = [&](const Cell& cell) {
        const std::vector<std::uint32_t>& from = topsOnly ? TopsOf(cell, look) : cell.items;
        out.insert(out.end(), from.begin(), from.end());
    };
    if ((cx1 - cx0 + 1) * (cy1 - cy0 + 1) > static_cast<std::int64_t>(m_cells.size())) {
        // A large area: walking the cells that hold items is cheaper than visiting empty ones.
        for (const auto& [key, cell] : m_cells) {
            const auto cx = static_cast<std::int32_t>(key >> 32);
            const auto cy = static_cast<std::int32_t>(key & 0xffffffffu);
            if (cx >= cx0 && cx <= cx1 && cy >= cy0 && cy <= cy1)
                take(cell);
        }
        return;
    }
    for (std::int64_t cx = cx0; cx <= cx1; ++cx)
        for (std::int64_t cy = cy0; cy <= cy1; ++cy)
            if (const auto it = m_cells.find(CellKey(cx, cy)); it != m_cells.end())
                take(it->second);
}

void MarkerIndex::MarkAllTops(const Look& look, std::vector<bool>& shown) const
{
    for (const auto& [key, cell] : m_cells)
        for (const std::uint32_t i : TopsOf(cell, look))
            if (i < shown.size())
                shown[i] = true;
}

} // namespace orvik
