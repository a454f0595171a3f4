#include "app/blocks.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>

#include "app/fatal.h"
#include "app/gbk_messages.h"
#include "platform/memory.h"

const char constantEmptyText[1] = {0};
const std::uint8_t constantEmptyBytes[1] = {0};

namespace {

std::atomic<std::int64_t> liveBlocks{0};

bool isConstantBlock(const void* block) {
    return block == constantEmptyText || block == constantEmptyBytes;
}

}  // namespace

void* tryObtainBlock(std::int32_t size) {
    if (size < 0) return nullptr;
    // A block of size 0 is still a distinct, releasable block.
    void* block = std::malloc(size == 0 ? 1 : static_cast<std::size_t>(size));
    if (block == nullptr) return nullptr;
    ++liveBlocks;
    preferHugePages(block, static_cast<std::size_t>(size));
    return block;
}

void* obtainBlock(std::int32_t size) {
    void* block = tryObtainBlock(size);
    if (block == nullptr) {
        char message[64];
        std::snprintf(message, sizeof message, gbk::allocationFailedPattern, static_cast<int>(size));
        fatalStop(message);
    }
    return block;
}

void releaseBlock(const void* block) {
    if (block == nullptr || isConstantBlock(block)) return;
    --liveBlocks;
    std::free(const_cast<void*>(block));
}

std::int64_t liveBlockCount() { return liveBlocks.load(); }
