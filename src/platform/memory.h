#pragma once

#include <cstddef>

// Asks the system to back a large, freshly allocated block with huge pages,
// where it has them: the first write to a big raster then costs a fraction
// of the page faults. Only a hint; nothing changes where it is not heeded.
void preferHugePages(void* block, std::size_t size);
