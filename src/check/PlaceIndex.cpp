#include "check/PlaceIndex.h"

#include <algorithm>
#include <bit>

namespace orvik {

namespace {

const std::vector<std::uint32_t> kNoRows;

} // namespace

std::size_t PlaceIndex::Home(const PlaceKey& k) const
{
    // Missions place items on grids, so the fields differ in a few middle bits: mix them well, or
    // the probes run long.
    const auto mix = [](std::uint64_t h) {
        h = (h ^ (h >> 30)) * 0xbf58476d1ce4e5b9ull;
        h = (h ^ (h >> 27)) * 0x94d049bb133111ebull;
        return h ^ (h >> 31);
    };
    const auto pair = [](std::int32_t a, std::int32_t b) {
        return (std::uint64_t{static_cast<std::uint32_t>(a)} << 32) | static_cast<std::uint32_t>(b);
    };
    return static_cast<std::size_t>(mix(pair(k.id, k.x) ^ mix(pair(k.y, k.z)))) & (m_slots.size() - 1);
}

void PlaceIndex::Clear(std::size_t expected)
{
    // At most half full, so probes stay short.
    m_slots.assign(std::bit_ceil(std::max<std::size_t>(16, 2 * expected)), Slot{});
    m_used = 0;
    m_rests.clear();
    m_freeRests.clear();
}

std::size_t PlaceIndex::Find(const PlaceKey& key) const
{
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = Home(key);
    while (m_slots[i].first != kNone && !(m_slots[i].key == key))
        i = (i + 1) & mask;
    return i;
}

void PlaceIndex::Grow()
{
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.size() * 2, Slot{});
    for (const Slot& slot : old)
        if (slot.first != kNone)
            m_slots[Find(slot.key)] = slot;
}

std::uint32_t PlaceIndex::Add(const PlaceKey& key, std::uint32_t row, bool& shared)
{
    if (m_slots.empty())
        Clear(0);
    if (2 * (m_used + 1) > m_slots.size())
        Grow();
    Slot& slot = m_slots[Find(key)];
    shared = slot.first != kNone;
    if (!shared) {
        slot = {key, row, kNone};
        ++m_used;
        return row;
    }
    if (slot.rest == kNone) {
        if (m_freeRests.empty()) {
            slot.rest = static_cast<std::uint32_t>(m_rests.size());
            m_rests.emplace_back();
        } else {
            slot.rest = m_freeRests.back();
            m_freeRests.pop_back();
        }
    }
    std::vector<std::uint32_t>& rest = m_rests[slot.rest];
    if (row > slot.first) {
        rest.insert(std::upper_bound(rest.begin(), rest.end(), row), row);
    } else {
        rest.insert(rest.begin(), slot.first);
        slot.first = row;
    }
    return slot.first;
}

std::uint32_t PlaceIndex::Remove(const PlaceKey& key, std::uint32_t row)
{
    if (m_slots.empty())
        return kNone;
    const std::size_t at = Find(key);
    Slot& slot = m_slots[at];
    if (slot.first == kNone)
        return kNone;
    std::vector<std::uint32_t>* rest = slot.rest == kNone ? nullptr : &m_rests[slot.rest];
    if (slot.first == row) {
        if (!rest) {
            Erase(at);
            return kNone;
        }
        slot.first = rest->front();
        rest->erase(rest->begin());
    } else if (rest) {
        if (const auto it = std::lower_bound(rest->begin(), rest->end(), row); it != rest->end() && *it == row)
            rest->erase(it);
    }
    if (rest && rest->empty()) {
        m_freeRests.push_back(slot.rest);
        slot.rest = kNone;
    }
    return slot.first;
}

void PlaceIndex::Erase(std::size_t hole)
{
    // Backward-shift deletion: each later slot of the run moves into the hole when its home does
    // not lie between the hole and itself, so no probe ever meets a gap before its key.
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t j = (hole + 1) & mask; m_slots[j].first != kNone; j = (j + 1) & mask) {
        const std::size_t home = Home(m_slots[j].key);
        const bool homeAfterHole = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
        if (!homeAfterHole) {
            m_slots[hole] = m_slots[j];
            hole = j;
        }
    }
    m_slots[hole] = Slot{};
    --m_used;
}

void PlaceIndex::Prefetch(const PlaceKey& key) const
{
    if (!m_slots.empty())
        __builtin_prefetch(&m_slots[Home(key)]);
}

std::uint32_t PlaceIndex::First(const PlaceKey& key) const
{
    return m_slots.empty() ? kNone : m_slots[Find(key)].first;
}

const std::vector<std::uint32_t>& PlaceIndex::Rest(const PlaceKey& key) const
{
    if (m_slots.empty())
        return kNoRows;
    const Slot& slot = m_slots[Find(key)];
    return slot.first == kNone || slot.rest == kNone ? kNoRows : m_rests[slot.rest];
}

} // namespace orvik
