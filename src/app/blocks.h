#pragma once

#include <cstdint>

// Every text and bytes value lives in a block from these operations.
//
// obtainBlock never returns null: exhaustion ends the program through
// fatalStop. tryObtainBlock is for large picture data, where running out of
// memory is a result the caller handles, not a reason to stop.

void* obtainBlock(std::int32_t size);
void* tryObtainBlock(std::int32_t size);

// Returns the block to the heap. Null and the constant empty values are
// left alone.
void releaseBlock(const void* block);

// The constant empty values belong to the program's fixed data.
extern const char constantEmptyText[1];
extern const std::uint8_t constantEmptyBytes[1];

// How many blocks are obtained and not yet released; lets tests prove that
// every block is released exactly once.
std::int64_t liveBlockCount();
