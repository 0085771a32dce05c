#pragma once
// Runs a piece of a test in a child process whose files may not grow past a limit, the way a full
// disk or a quota stops a write half-way: the write fails with EFBIG instead of killing the child.
// Only where test::CanFork() holds.
#include "support/Process.h"

#include <cstdint>
#include <functional>

namespace orvik::test {

// The child's exit status (body's result), or -1 when it did not exit normally.
inline int RunWithFileSizeLimit(std::uint64_t bytes, const std::function<int()>& body)
{
    const int status = RunInChild(body, bytes);
    return status >= 128 ? -1 : status;
}

} // namespace orvik::test
