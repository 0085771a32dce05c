#include "exercise/Shrink.h"

#include <algorithm>

namespace orvik::exercise {

Steps Shrink(Steps failing, const std::function<bool(const Steps&)>& fails,
             std::chrono::steady_clock::time_point deadline)
{
    std::size_t parts = 2;
    while (failing.size() >= 2 && std::chrono::steady_clock::now() < deadline) {
        const std::size_t size = (failing.size() + parts - 1) / parts;
        bool reduced = false;
        for (std::size_t from = 0; from < failing.size() && !reduced; from += size) {
            const auto first = failing.begin() + static_cast<std::ptrdiff_t>(from);
            const auto last = failing.begin() + static_cast<std::ptrdiff_t>(std::min(from + size, failing.size()));
            Steps part(first, last);
            if (fails(part)) {
                failing = std::move(part);
                parts = 2;
                reduced = true;
                continue;
            }
            if (parts == 2)
                continue; // with two parts the other part is the complement, tried next round
            Steps rest(failing.begin(), first);
            rest.insert(rest.end(), last, failing.end());
            if (fails(rest)) {
                failing = std::move(rest);
                parts = std::max<std::size_t>(parts - 1, 2);
                reduced = true;
            }
        }
        if (!reduced) {
            if (parts >= failing.size())
                break;
            parts = std::min(parts * 2, failing.size());
        }
    }
    return failing;
}

} // namespace orvik::exercise
