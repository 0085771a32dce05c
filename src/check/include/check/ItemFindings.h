#pragma once
// The findings about a mission's items, kept up to date one item at a time. The editor re-checks
// only the rows an edit touched and the rows whose findings name them; a full check is a reset.
#include "check/CatalogueLookup.h"
#include "check/Finding.h"

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
    // lookup must outlive this.
    ItemFindings(const CatalogueLookup& lookup, std::string mission);

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
    struct PlaceKey {
        std::int32_t id, x, y, z;
        bool operator==(const PlaceKey&) const = default;
    };
    struct PlaceHash {
        std::size_t operator()(const PlaceKey& k) const;
    };
    // The rows of one kind at one place, in order; most places hold one.
    struct Place {
        std::uint32_t first = 0;
        std::vector<std::uint32_t> rest;
    };

    static PlaceKey KeyOf(const CheckedItem& item) { return {item.id, item.x, item.y, item.z}; }
    bool CountsAsCenter(const CheckedItem& item) const;
    // Returns the rows to check again: those that named the old first row.
    void Leave(std::size_t row, std::vector<std::size_t>& rechecked);
    void Enter(std::size_t row, std::vector<std::size_t>& rechecked);
    void CheckRow(std::size_t row);
    void CheckMission();
    void Tally(const std::vector<Finding>& findings, int sign);

    const CatalogueLookup& m_lookup;
    std::string m_mission;
    std::vector<CheckedItem> m_items;
    std::vector<std::vector<Finding>> m_rowFindings;
    std::unordered_map<PlaceKey, Place, PlaceHash> m_places; // items with a kind id only
    std::size_t m_centers = 0;
    std::vector<Finding> m_missionFindings;
    std::array<std::size_t, 2> m_counts{}; // warnings, errors
};

} // namespace orvik
