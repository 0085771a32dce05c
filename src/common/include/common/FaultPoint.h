#pragma once
// A seam for the tests that make a save fail or die half-way: the file layer calls FaultPoint
// before every write and sync, and the tests install a hook that counts the calls and then kills
// the process or throws. Nothing installs a hook in the programs.
#include <functional>

namespace orvik {

using FaultHook = std::function<void(const char* where)>;

// Installs hook (an empty one removes it) and returns the previous one.
FaultHook SetFaultHook(FaultHook hook);
// Calls the hook, if any, with the name of the step about to happen.
void FaultPoint(const char* where);

} // namespace orvik
