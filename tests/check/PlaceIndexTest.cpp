// The place index against a plain map of sets, through random adds and removes that keep the table
// crowded, so that probes collide, runs wrap around the table's end and the table grows.
#include "check/PlaceIndex.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>

using namespace orvik;

namespace {

TEST(PlaceIndex, AgreesWithAPlainMapThroughAddsAndRemoves)
{
    const auto less = [](const PlaceKey& a, const PlaceKey& b) {
        return std::tie(a.id, a.x, a.y, a.z) < std::tie(b.id, b.x, b.y, b.z);
    };
    for (const std::size_t crowd : {5u, 20u, 60u}) {
        std::mt19937 rng(static_cast<unsigned>(crowd));
        PlaceIndex index;
        index.Clear(0);
        std::map<PlaceKey, std::set<std::uint32_t>, decltype(less)> model(less);
        for (int step = 0; step < 3000; ++step) {
            const auto row = static_cast<std::uint32_t>(rng() % 3);
            if (model.size() < crowd || rng() % 4 == 0) {
                // A row into a new place or a known one.
                const PlaceKey k = model.empty() || rng() % 2 ? PlaceKey{static_cast<std::int32_t>(rng() % 3),
                                                                         static_cast<std::int32_t>(rng() % 1000), 7, 0}
                                                              : std::next(model.begin(), static_cast<long>(rng() % model.size()))->first;
                auto& rows = model[k];
                if (rows.count(row) == 0) {
                    bool shared = false;
                    ASSERT_EQ(index.Add(k, row, shared), std::min(row, rows.empty() ? row : *rows.begin()));
                    ASSERT_EQ(shared, !rows.empty());
                    rows.insert(row);
                }
            } else {
                const auto place = std::next(model.begin(), static_cast<long>(rng() % model.size()));
                const std::uint32_t gone = *std::next(place->second.begin(), static_cast<long>(rng() % place->second.size()));
                place->second.erase(gone);
                ASSERT_EQ(index.Remove(place->first, gone), place->second.empty() ? PlaceIndex::kNone : *place->second.begin());
                if (place->second.empty())
                    model.erase(place);
            }
            for (const auto& [place, held] : model) {
                ASSERT_EQ(index.First(place), *held.begin()) << "step " << step;
                const auto& rest = index.Rest(place);
                ASSERT_EQ(std::vector<std::uint32_t>(std::next(held.begin()), held.end()), rest) << "step " << step;
            }
        }
    }
}

} // namespace
