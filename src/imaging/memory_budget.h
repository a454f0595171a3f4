#pragma once

#include <cstddef>

// Whether a buffer of this many bytes may be asked for at all. Refuses what
// the machine's memory cannot hold, so that a huge picture or surface fails
// as a result instead of getting the process killed later.
bool memoryCanHold(std::size_t bytes);
