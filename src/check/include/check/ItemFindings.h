#pragma once
// The findings about a mission's items, kept up to date one item at a time. The editor re-checks
// only the rows an edit touched and the rows whose findings name them; a full check is a reset.
#include "catalogue/ItemDefList.h"
#include "check/Finding.h"
#include "check/PlaceIndex.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvik {

// What the checks look at in one item.
struct CheckedItem {
    std::int32_t id = 0;   // kind id; 0 when a typed name is not in the catalogue
    std::string typedName; // the table's name, when it named no kind (id 0)
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t z = 0;
    std::int32_t angle = 0;
};

// The ground the map draws: map pixels 0 to 511 east and south of world (0, 0), one pixel being
// 131072 world units taken toward zero, as the markers are placed.
bool IsOnGround(std::int32_t x, std::int32_t y);

class ItemFindings {
public:
    // catalogue must outlive this.
    ItemFindings(const CItemDefList& catalogue, std::string mission);

    // Checks every item afresh.
    void Reset(std::vector<CheckedItem> items);
    // Item row now reads item. Adds to rechecked the rows whose findings were made again: row and
    // the rows of the same place when the first of them changed.
    void Update(std::size_t row, CheckedItem item, std::vector<std::size_t>& rechecked);

    std::size_t RowCount() const { return m_items.size(); }
    const std::vector<Finding>& OfRow(std::size_t row) const;
    // The mission's own findings (no centre item).
    const std::vector<Finding>& OfMission() const { return m_missionFindings; }
    std::size_t Count(Severity severity) const { return m_counts[severity == Severity::Error ? 1 : 0]; }
    // Every finding: by row, then the mission's own, as a full check lists them.
    std::vector<Finding> All() const;

private:
    // An item as kept: its name only when it names no kind, which few rows do, so that a large
    // mission's items take a third of the memory.
    struct Kept {
        std::int32_t id, x, y, z, angle;
    };
    static Kept KeptOf(const CheckedItem& item) { return {item.id, item.x, item.y, item.z, item.angle}; }
    void Keep(std::size_t row, CheckedItem item);
    static PlaceKey KeyOf(const Kept& item) { return {item.id, item.x, item.y, item.z}; }
    bool CountsAsCenter(const Kept& item) const;
    // Take the row out of its place and put it in; each checks again, and adds to rechecked, the
    // other rows of the place when its first row changes. Enter returns the place's first row.
    void Leave(std::size_t row, std::vector<std::size_t>& rechecked);
    std::uint32_t Enter(std::size_t row, std::vector<std::size_t>& rechecked);
    void RecheckPlace(const PlaceKey& key, std::uint32_t first, std::size_t except,
                      std::vector<std::size_t>& rechecked);
    // first: the first row of the row's place (any value for an item without a kind id).
    void CheckRow(std::size_t row, std::uint32_t first);
    void CheckMission();
    void Tally(const std::vector<Finding>& findings, int sign);

    const CItemDefList& m_catalogue;
    std::string m_mission;
    std::vector<Kept> m_items;
    std::unordered_map<std::size_t, std::string> m_typedNames; // rows with kind id 0
    std::vector<std::vector<Finding>> m_rowFindings;
    PlaceIndex m_places; // items with a kind id only
    std::size_t m_centers = 0;
    std::vector<Finding> m_missionFindings;
    std::array<std::size_t, 2> m_counts{}; // warnings, errors
};

} // namespace orvik
