#include "common/MemoryHints.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace orvik {

void AdviseHugePages(void* data, std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    // Below a few huge pages the faults saved do not pay for the call.
    constexpr std::size_t kWorthwhile = std::size_t{8} << 20;
    constexpr std::uintptr_t kPage = 4096;
    if (!data || size < kWorthwhile)
        return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kPage - 1) & ~(kPage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kPage - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
    (void)data;
    (void)size;
#endif
}

} // namespace orvik
