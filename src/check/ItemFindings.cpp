#include "check/ItemFindings.h"

#include "common/Text.h"
#include "mission/ItemRows.h"

#include <algorithm>

namespace orvik {

namespace {

constexpr std::int32_t kPixel = 131072;
constexpr std::int32_t kGroundPixels = 512;
const std::string kNoName;

Finding Make(FindingKind kind, const std::string& mission, std::size_t row, int column, std::string message)
{
    return {SeverityOf(kind), kind, mission, row, column, std::move(message)};
}

} // namespace

bool IsOnGround(std::int32_t x, std::int32_t y)
{
    // Integer division truncates toward zero, as the map's transform does.
    const std::int32_t column = x / kPixel;
    const std::int32_t row = -(y / kPixel);
    return column >= 0 && column < kGroundPixels && row >= 0 && row < kGroundPixels;
}

ItemFindings::ItemFindings(const CItemDefList& catalogue, std::string mission)
    : m_catalogue(catalogue), m_mission(std::move(mission))
{}

void ItemFindings::Reset(std::vector<CheckedItem> items)
{
    m_items.clear();
    m_items.reserve(items.size());
    m_typedNames.clear();
    for (std::size_t row = 0; row < items.size(); ++row) {
        m_items.push_back(KeptOf(items[row]));
        if (items[row].id == 0)
            m_typedNames.emplace(row, std::move(items[row].typedName));
    }
    items = {};
    m_rowFindings.assign(m_items.size(), {});
    m_places.Clear(m_items.size());
    m_centers = 0;
    m_counts = {};
    std::vector<std::size_t> unused;
    constexpr std::size_t kAhead = 8;
    for (std::size_t row = 0; row < m_items.size(); ++row) {
        if (row + kAhead < m_items.size())
            m_places.Prefetch(KeyOf(m_items[row + kAhead]));
        CheckRow(row, Enter(row, unused));
    }
    CheckMission();
}

void ItemFindings::Update(std::size_t row, CheckedItem item, std::vector<std::size_t>& rechecked)
{
    if (row >= m_items.size())
        return;
    Leave(row, rechecked);
    Keep(row, std::move(item));
    const std::uint32_t first = Enter(row, rechecked);
    rechecked.push_back(row);
    CheckRow(row, first);
    CheckMission();
}

void ItemFindings::Keep(std::size_t row, CheckedItem item)
{
    m_items[row] = KeptOf(item);
    if (item.id == 0)
        m_typedNames[row] = std::move(item.typedName);
    else
        m_typedNames.erase(row);
}

bool ItemFindings::CountsAsCenter(const Kept& item) const
{
    return item.id != 0 && m_catalogue.IsCenterKind(item.id);
}

void ItemFindings::RecheckPlace(const PlaceKey& key, std::uint32_t first, std::size_t except,
                                std::vector<std::size_t>& rechecked)
{
    // The rows after the first name it in their findings; the first names none.
    const auto recheck = [&](std::size_t other) {
        if (other != except) {
            rechecked.push_back(other);
            CheckRow(other, first);
        }
    };
    recheck(first);
    for (const std::uint32_t other : m_places.Rest(key))
        recheck(other);
}

void ItemFindings::Leave(std::size_t row, std::vector<std::size_t>& rechecked)
{
    const Kept& item = m_items[row];
    m_centers -= CountsAsCenter(item) ? 1 : 0;
    if (item.id == 0)
        return;
    const PlaceKey key = KeyOf(item);
    const auto r = static_cast<std::uint32_t>(row);
    const bool wasFirst = m_places.First(key) == r;
    const std::uint32_t first = m_places.Remove(key, r);
    if (wasFirst && first != PlaceIndex::kNone)
        RecheckPlace(key, first, row, rechecked);
}

std::uint32_t ItemFindings::Enter(std::size_t row, std::vector<std::size_t>& rechecked)
{
    const Kept& item = m_items[row];
    m_centers += CountsAsCenter(item) ? 1 : 0;
    if (item.id == 0)
        return PlaceIndex::kNone;
    const PlaceKey key = KeyOf(item);
    const auto r = static_cast<std::uint32_t>(row);
    bool shared = false;
    const std::uint32_t first = m_places.Add(key, r, shared);
    // A new first row of a place that held others: every other row of it now names this one.
    if (first == r && shared)
        RecheckPlace(key, first, row, rechecked);
    return first;
}

void ItemFindings::CheckRow(std::size_t row, std::uint32_t first)
{
    std::vector<Finding>& out = m_rowFindings[row];
    Tally(out, -1);
    out.clear();
    const Kept& item = m_items[row];
    const std::string& name = m_catalogue.NameOf(item.id);
    if (item.id == 0) {
        const auto typed = m_typedNames.find(row);
        const std::string& typedName = typed == m_typedNames.end() ? kNoName : typed->second;
        out.push_back(Make(FindingKind::UnknownKind, m_mission, row, kColItem,
                           typedName.empty()
                               ? std::string("The item has no name: the row cannot be saved.")
                               : "\"" + typedName +
                                     "\" is not an item name of the catalogue: the row cannot be saved."));
    } else if (name.empty()) {
        out.push_back(Make(FindingKind::UnknownKind, m_mission, row, kColItem,
                           "Item kind id " + FormatLong(item.id) +
                               " is not in the catalogue: the row cannot be saved by name."));
    } else if (const std::int32_t first = m_catalogue.IdOfNameOf(item.id); first != item.id) {
        out.push_back(Make(FindingKind::SharedName, m_mission, row, kColItem,
                           "\"" + name + "\" names kind ids " + FormatLong(first) + " and " + FormatLong(item.id) +
                               ": a save stores the first, " + FormatLong(first) + "."));
    }
    if (!IsOnGround(item.x, item.y)) {
        const bool xOut = !IsOnGround(item.x, 0);
        out.push_back(Make(FindingKind::OutsideGround, m_mission, row, xOut ? kColX : kColY,
                           "The item at " + FormatLong(item.x) + ", " + FormatLong(item.y) +
                               " lies outside the ground the map covers (X -131071 to 67108863, "
                               "Y -67108863 to 131071)."));
    }
    if (item.id != 0 && first != row) {
            out.push_back(Make(FindingKind::Stacked, m_mission, row, kColItem,
                               "Same item at the same position as row " + std::to_string(first + 1) +
                                   ": a double paste?"));
    }
    if (item.angle < 0 || item.angle > 359)
        out.push_back(Make(FindingKind::BadAngle, m_mission, row, kColAngle,
                           "Angle " + FormatLong(item.angle) + " is outside 0 to 359."));
    Tally(out, +1);
}

void ItemFindings::CheckMission()
{
    Tally(m_missionFindings, -1);
    m_missionFindings.clear();
    // A mission without items is shown around (0, 0) and has nothing to centre on.
    if (m_centers == 0 && !m_items.empty())
        m_missionFindings.push_back({SeverityOf(FindingKind::NoCenter), FindingKind::NoCenter, m_mission,
                                     std::nullopt, -1, "No centre item: the map centres on the middle of the items."});
    Tally(m_missionFindings, +1);
}

void ItemFindings::Tally(const std::vector<Finding>& findings, int sign)
{
    for (const Finding& f : findings) {
        std::size_t& count = m_counts[f.severity == Severity::Error ? 1 : 0];
        count = sign > 0 ? count + 1 : count - 1;
    }
}

const std::vector<Finding>& ItemFindings::OfRow(std::size_t row) const
{
    static const std::vector<Finding> kNone;
    return row < m_rowFindings.size() ? m_rowFindings[row] : kNone;
}

std::vector<Finding> ItemFindings::All() const
{
    std::vector<Finding> all;
    for (const auto& row : m_rowFindings)
        all.insert(all.end(), row.begin(), row.end());
    all.insert(all.end(), m_missionFindings.begin(), m_missionFindings.end());
    return all;
}

} // namespace orvik
