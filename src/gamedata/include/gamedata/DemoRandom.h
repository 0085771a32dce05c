#pragma once
// The demo's random numbers. The standard distributions give different sequences on different
// standard libraries, so every value here is derived from the raw mt19937 output by hand: a seed
// gives the same demo everywhere.
#include <cstddef>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace orvik::gamedata {

class DemoRandom {
public:
    explicit DemoRandom(std::uint32_t seed) : m_rng(seed) {}

    std::uint32_t Next() { return static_cast<std::uint32_t>(m_rng()); }

    // lo..hi, both included (lo <= hi). Multiply and shift: no modulo bias worth the name, no loop.
    std::int32_t Range(std::int32_t lo, std::int32_t hi)
    {
        const auto span = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi) - lo + 1);
        const auto offset = (static_cast<std::uint64_t>(Next()) * span) >> 32;
        return static_cast<std::int32_t>(lo + static_cast<std::int64_t>(offset));
    }

    // True in percent out of 100 calls.
    bool Chance(int percent) { return Range(0, 99) < percent; }

    // A value in -spread..spread that gathers near 0 (the mean of two uniform draws).
    std::int64_t Around(std::int64_t spread)
    {
        if (spread <= 0)
            return 0;
        const auto span = static_cast<std::uint64_t>(2 * spread + 1);
        const auto a = static_cast<std::int64_t>((static_cast<std::uint64_t>(Next()) * span) >> 32);
        const auto b = static_cast<std::int64_t>((static_cast<std::uint64_t>(Next()) * span) >> 32);
        return (a + b) / 2 - spread;
    }

    template <class T>
    const T& Pick(const std::vector<T>& values)
    {
        return values[static_cast<std::size_t>(Range(0, static_cast<std::int32_t>(values.size()) - 1))];
    }

    template <class T>
    void Shuffle(std::vector<T>& values)
    {
        for (std::size_t i = values.size(); i > 1; --i) {
            const auto j = static_cast<std::size_t>(Range(0, static_cast<std::int32_t>(i) - 1));
            std::swap(values[i - 1], values[j]);
        }
    }

private:
    std::mt19937 m_rng;
};

} // namespace orvik::gamedata
