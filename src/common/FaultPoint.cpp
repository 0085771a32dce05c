#include "common/FaultPoint.h"

#include <utility>

namespace orvik {

namespace {

FaultHook& Hook()
{
    static FaultHook hook;
    return hook;
}

} // namespace

FaultHook SetFaultHook(FaultHook hook) { return std::exchange(Hook(), std::move(hook)); }

void FaultPoint(const char* where)
{
    if (Hook())
        Hook()(where);
}

} // namespace orvik
