#include "gamedata/MissionWriter.h"

#include "common/File.h"

#include <algorithm>
#include <cstring>
#include <random>

namespace orvik::gamedata {

std::vector<std::uint8_t> BuildMission(const MissionSpec& plan)
{
    std::mt19937 rng(plan.seed);
    std::vector<std::uint8_t> out(264);
    for (auto& b : out)
        b = static_cast<std::uint8_t>(rng());
    auto putText = [&](std::size_t at, std::size_t width, const std::string& text) {
        const std::size_t n = std::min(width, text.size());
        std::memcpy(out.data() + at, text.data(), n);
        if (n < width)
            out[at + n] = 0;
    };
    putText(4, 40, plan.title);
    putText(84, 16, plan.terrainName);
    for (const auto& item : plan.items) {
        const auto words = item.ToWords();
        const std::size_t at = out.size();
        out.resize(at + 96);
        for (int w = 0; w < CMissionItem::kWords; ++w)
            PutInt32(out.data() + at + 4 * w, words[static_cast<std::size_t>(w)]);
    }
    if (plan.endMark) {
        const std::size_t at = out.size();
        out.resize(at + 8);
        PutInt32(out.data() + at, static_cast<std::int32_t>(rng()));
        PutInt32(out.data() + at + 4, 0);
        for (std::uint32_t i = 0; i < plan.tailSize; ++i)
            out.push_back(static_cast<std::uint8_t>(rng()));
    }
    return out;
}

} // namespace orvik::gamedata
