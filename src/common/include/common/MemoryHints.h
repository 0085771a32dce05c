#pragma once
// Hints to the operating system about how a block of memory will be used.
#include <cstddef>

namespace orvik {

// Asks for a large block that is about to be filled to be backed by huge pages, which spares
// most of the page faults of filling it. Does nothing for small blocks or where the system has
// no such hint; never fails.
void AdviseHugePages(void* data, std::size_t size);

} // namespace orvik
