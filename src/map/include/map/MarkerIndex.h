#pragma once
// The map's spatial index: items by cell of 4 x 4 map pixels, so that a hit test or a small redraw
// looks at the items near a point, not at all of them; and, per cell, the kept top markers: the
// items that a later one of the same kind at the same zoomed pixel does not cover whole.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

namespace orvik {

struct WorldPoint;

class MarkerIndex {
public:
    // What the tops depend on: each item's zoomed pixel and kind, and whether it is drawn away
    // from its cell (dragged: it covers nothing there). Asked of the caller, which owns the items.
    struct Look {
        std::function<std::uint64_t(std::uint32_t item)> pixelAndKind;
        std::function<bool(std::uint32_t item)> away;
    };

    // Indexes the items afresh, in item order; every top goes stale.
    void Build(const std::vector<WorldPoint>& positions);
    void Clear();
    // An item moves from one world point to another; the tops of both cells go stale.
    void Move(std::size_t item, WorldPoint from, WorldPoint to);
    // The tops of the cell holding this point go stale (an item there is dragged or let go).
    void Touch(WorldPoint p);
    // Every cell's tops go stale: a new zoom or new kinds.
    void ForgetTops() { ++m_generation; }

    // Appends the items of the cells that hold map pixels x0..x1, y0..y1 (world units shifted by
    // 17, y up), edges included; every item of them, or each cell's tops. Not in any order.
    void Collect(std::int64_t x0, std::int64_t x1, std::int64_t y0, std::int64_t y1, bool topsOnly, const Look& look,
                 std::vector<std::size_t>& out) const;
    // Marks every cell's tops in shown (by item; items past its end are left out).
    void MarkAllTops(const Look& look, std::vector<bool>& shown) const;

    std::size_t CellCount() const { return m_cells.size(); }

private:
    struct Cell {
        std::vector<std::uint32_t> items; // in item order
        mutable std::vector<std::uint32_t> tops;
        mutable std::uint64_t generation = 0; // tops are current when it equals m_generation
    };
    static std::uint64_t CellOf(WorldPoint p);
    void Add(std::size_t item, WorldPoint p);
    void Remove(std::size_t item, WorldPoint p);
    const std::vector<std::uint32_t>& TopsOf(const Cell& cell, const Look& look) const;

    std::unordered_map<std::uint64_t, Cell> m_cells;
    std::uint64_t m_generation = 1;
    mutable std::vector<std::uint64_t> m_scratch;
};

} // namespace orvik
