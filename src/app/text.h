#pragma once

#include <cstdint>
#include <string_view>

#include "app/blocks.h"

// A GBK text: bytes ended by a zero byte, in a block of its own. The empty
// text holds no block; it reads as the constant empty text.
class Text {
public:
    Text() = default;
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;
    Text(Text&& other) noexcept : block_(other.block_) { other.block_ = nullptr; }
    Text& operator=(Text&& other) noexcept {
        if (this != &other) {
            char* old = block_;
            block_ = other.block_;
            other.block_ = nullptr;
            releaseBlock(old);
        }
        return *this;
    }
    ~Text() { releaseBlock(block_); }

    // A new block holding the bytes of gbk followed by a zero byte.
    static Text copyOf(std::string_view gbk);
    // Takes over a zero-terminated block from obtainBlock.
    static Text adopt(char* block) {
        Text text;
        text.block_ = block;
        return text;
    }

    const char* c_str() const { return block_ != nullptr ? block_ : constantEmptyText; }
    std::string_view view() const { return c_str(); }
    bool empty() const { return c_str()[0] == '\0'; }
    // Whether a block stands behind this value (false for the empty text).
    bool hasBlock() const { return block_ != nullptr; }

private:
    char* block_ = nullptr;
};
