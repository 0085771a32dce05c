#include "check/ItemChecks.h"

#include "common/Text.h"

#include <unordered_map>

namespace orvik {

namespace {

constexpr std::int32_t kPixel = 131072;
constexpr std::int32_t kGroundPixels = 512;

struct PlaceKey {
    std::int32_t id, x, y, z;
    bool operator==(const PlaceKey&) const = default;
};

struct PlaceHash {
    std::size_t operator()(const PlaceKey& k) const
    {
        std::uint64_t h = static_cast<std::uint32_t>(k.id);
        for (const std::int32_t v : {k.x, k.y, k.z})
            h = (h ^ static_cast<std::uint32_t>(v)) * 0x100000001b3ull;
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

Finding Make(FindingKind kind, const std::string& mission, std::size_t row, int column, std::string message)
{
    return {SeverityOf(kind), kind, mission, row, column, std::move(message)};
}

std::string Row(std::size_t row) { return std::to_string(row + 1); }

} // namespace

bool IsOnGround(std::int32_t x, std::int32_t y)
{
    // Integer division truncates toward zero, as the map's transform does.
    const std::int32_t column = x / kPixel;
    const std::int32_t row = -(y / kPixel);
    return column >= 0 && column < kGroundPixels && row >= 0 && row < kGroundPixels;
}

std::vector<CheckedItem> CheckedItemsOfModel(const CMissionModel& model)
{
    std::vector<CheckedItem> items;
    items.reserve(model.items.size());
    for (const auto& item : model.items)
        items.push_back({item->m_nId, {}, item->m_nX, item->m_nY, item->m_nZ, item->m_nAngle});
    return items;
}

std::vector<CheckedItem> CheckedItemsOfRows(const std::vector<ItemRow>& rows, const CMissionModel& model,
                                            const CatalogueLookup& lookup)
{
    std::vector<CheckedItem> items;
    items.reserve(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ItemRow& row = rows[i];
        CheckedItem item;
        const std::string& name = row[kColItem];
        if (i < model.items.size() && lookup.NameById(model.items[i]->m_nId) == name)
            item.id = model.items[i]->m_nId;
        else
            item.id = lookup.IdByName(name);
        if (item.id == 0)
            item.typedName = name;
        item.x = DecimalToInt(row[kColX]);
        item.y = DecimalToInt(row[kColY]);
        item.z = DecimalToInt(row[kColZ]);
        item.angle = DecimalToInt(row[kColAngle]);
        items.push_back(std::move(item));
    }
    return items;
}

void CheckItems(const std::vector<CheckedItem>& items, const CatalogueLookup& lookup, const std::string& mission,
                std::vector<Finding>& out)
{
    std::unordered_map<PlaceKey, std::size_t, PlaceHash> places;
    places.reserve(items.size());
    bool hasCenter = false;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CheckedItem& item = items[i];
        const std::string& name = lookup.NameById(item.id);
        if (item.id == 0) {
            out.push_back(Make(FindingKind::UnknownKind, mission, i, kColItem,
                               item.typedName.empty()
                                   ? std::string("The item has no name: the row cannot be saved.")
                                   : "\"" + item.typedName +
                                         "\" is not an item name of the catalogue: the row cannot be saved."));
        } else if (name.empty()) {
            out.push_back(Make(FindingKind::UnknownKind, mission, i, kColItem,
                               "Item kind id " + FormatLong(item.id) +
                                   " is not in the catalogue: the row cannot be saved by name."));
        } else {
            const std::int32_t first = lookup.IdByName(name);
            if (first != item.id)
                out.push_back(Make(FindingKind::SharedName, mission, i, kColItem,
                                   "\"" + name + "\" names kind ids " + FormatLong(first) + " and " +
                                       FormatLong(item.id) + ": a save stores the first, " + FormatLong(first) + "."));
            hasCenter = hasCenter || lookup.IsCenter(item.id);
        }
        if (!IsOnGround(item.x, item.y)) {
            const bool xOut = !IsOnGround(item.x, 0);
            out.push_back(Make(FindingKind::OutsideGround, mission, i, xOut ? kColX : kColY,
                               "The item at " + FormatLong(item.x) + ", " + FormatLong(item.y) +
                                   " lies outside the ground the map covers (X -131071 to 67108863, "
                                   "Y -67108863 to 131071)."));
        }
        if (item.id != 0) {
            const auto [at, fresh] = places.emplace(PlaceKey{item.id, item.x, item.y, item.z}, i);
            if (!fresh)
                out.push_back(Make(FindingKind::Stacked, mission, i, kColItem,
                                   "Same item at the same position as row " + Row(at->second) + ": a double paste?"));
        }
        if (item.angle < 0 || item.angle > 359)
            out.push_back(Make(FindingKind::BadAngle, mission, i, kColAngle,
                               "Angle " + FormatLong(item.angle) + " is outside 0 to 359."));
    }
    // A mission without items is shown around (0, 0) and has nothing to centre on.
    if (!hasCenter && !items.empty())
        out.push_back({SeverityOf(FindingKind::NoCenter), FindingKind::NoCenter, mission, std::nullopt, -1,
                       "No centre item: the map centres on the middle of the items."});
}

} // namespace orvik
