#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdint>

void preferHugePages(void* block, std::size_t size) {
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
    if (size < 2 * hugePage) return;
    // Only whole huge pages inside the block can be advised.
    const auto start = (reinterpret_cast<std::uintptr_t>(block) + hugePage - 1) & ~(hugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(block) + size) & ~(hugePage - 1);
    if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#else
    (void)block;
    (void)size;
#endif
}
