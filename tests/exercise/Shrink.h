#pragma once
// Delta debugging: the failing list of actions made shorter while it still fails.
#include <chrono>
#include <cstddef>
#include <functional>
#include <vector>

namespace orvik::exercise {

using Steps = std::vector<std::size_t>;

// Tries parts of failing, and failing less a part, keeping whichever still fails, until no part
// can go or the deadline passes. fails replays a list in a fresh editor.
Steps Shrink(Steps failing, const std::function<bool(const Steps&)>& fails,
             std::chrono::steady_clock::time_point deadline);

} // namespace orvik::exercise
