#pragma once
// The rows of each (kind, place): the index behind the stacked-item rule. Open addressing with
// linear probing in one array, because a load enters every row of a mission of up to hundreds of
// thousands and a node per row costs more than the check itself. Most places hold one row; the
// rare others keep their later rows in a list of their own.
#include <cstdint>
#include <vector>

namespace orvik {

struct PlaceKey {
    std::int32_t id, x, y, z;
    bool operator==(const PlaceKey&) const = default;
};

class PlaceIndex {
public:
    void Clear(std::size_t expected);
    // Adds row to its place, keeping the rows in order; returns the place's first row afterwards.
    // shared tells whether the place held other rows.
    std::uint32_t Add(const PlaceKey& key, std::uint32_t row, bool& shared);
    // Takes row from its place (it must be there); returns the place's first row afterwards, or
    // kNone when the place is empty.
    std::uint32_t Remove(const PlaceKey& key, std::uint32_t row);
    // Starts fetching the key's slot from memory: a load enters rows at random places, and each
    // probe would otherwise wait for memory.
    void Prefetch(const PlaceKey& key) const;
    // The place's first row (kNone when empty) and the rows after it, in order.
    std::uint32_t First(const PlaceKey& key) const;
    const std::vector<std::uint32_t>& Rest(const PlaceKey& key) const;

    static constexpr std::uint32_t kNone = 0xffffffffu;

private:
    struct Slot {
        PlaceKey key{};
        std::uint32_t first = kNone; // kNone: a free slot
        std::uint32_t rest = kNone;  // index into m_rests, when the place holds more than one row
    };
    std::size_t Home(const PlaceKey& key) const;
    std::size_t Find(const PlaceKey& key) const; // the key's slot, or the free slot it would take
    void Grow();
    void Erase(std::size_t slot);

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
    std::vector<std::vector<std::uint32_t>> m_rests;
    std::vector<std::uint32_t> m_freeRests;
};

} // namespace orvik
