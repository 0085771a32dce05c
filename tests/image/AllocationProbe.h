#pragma once
// Records the largest single heap request made while a probe is alive (this test program
// replaces the global operator new to see them).
#include <cstddef>

namespace orvik::test {

class AllocationProbe {
public:
    AllocationProbe();
    ~AllocationProbe();
    AllocationProbe(const AllocationProbe&) = delete;
    AllocationProbe& operator=(const AllocationProbe&) = delete;
    std::size_t Largest() const;
};

} // namespace orvik::test
