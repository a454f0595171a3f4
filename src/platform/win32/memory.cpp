#include "platform/memory.h"

// Windows gives large pages only to blocks reserved with MEM_LARGE_PAGES by a
// process holding the lock-memory privilege; a block that is already
// allocated cannot be moved onto them. The hint is therefore not heeded here.
void preferHugePages(void* block, std::size_t size) {
    (void)block;
    (void)size;
}
