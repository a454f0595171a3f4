#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/bytes.h"

// File access for the core. Paths are UTF-8 and reach the platform without
// loss. Each platform has its own implementation of these functions.

// Up to count bytes from the start of the file; nothing when it cannot be
// opened. Other openers may read the file meanwhile, not write it.
std::optional<Bytes> readFileStart(const char* path, std::size_t count);

// The whole file; nothing when it cannot be opened or read, or is too large
// for one block.
std::optional<Bytes> readWholeFile(const char* path);

// Replaces the file at path by data, or leaves it exactly as it was: the
// bytes go to a temporary file beside it, which is flushed to disk and then
// put in the target's place. A read-only target is refused. False on any
// failure, with no temporary file left behind.
bool replaceFileAtomically(const char* path, ByteView data);
