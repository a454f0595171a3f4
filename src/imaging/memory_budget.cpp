#include "imaging/memory_budget.h"

#include <cstdint>

#if defined(__unix__)
#include <unistd.h>
#endif

namespace {

std::uint64_t physicalMemory() {
#if defined(_SC_PHYS_PAGES) && defined(_SC_PAGESIZE)
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages > 0 && pageSize > 0) return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
#endif
    // Elsewhere the allocator itself refuses what it cannot give.
    return UINT64_MAX;
}

}  // namespace

bool memoryCanHold(std::size_t bytes) {
    // Half of the machine: one request must leave room for the rest of the
    // program and for the other buffers of the same drawing.
    return static_cast<std::uint64_t>(bytes) <= physicalMemory() / 2;
}
