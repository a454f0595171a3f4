#pragma once

#include <cstddef>
#include <cstdint>

#include "app/blocks.h"
#include "app/byte_view.h"

// A byte sequence with its length, in a block of its own. The empty value
// holds no block; it reads as the constant empty bytes.
class Bytes {
public:
    Bytes() = default;
    Bytes(const Bytes&) = delete;
    Bytes& operator=(const Bytes&) = delete;
    Bytes(Bytes&& other) noexcept : block_(other.block_), size_(other.size_) {
        other.block_ = nullptr;
        other.size_ = 0;
    }
    Bytes& operator=(Bytes&& other) noexcept {
        if (this != &other) {
            std::uint8_t* old = block_;
            block_ = other.block_;
            size_ = other.size_;
            other.block_ = nullptr;
            other.size_ = 0;
            releaseBlock(old);
        }
        return *this;
    }
    ~Bytes() { releaseBlock(block_); }

    static Bytes copyOf(ByteView bytes);
    // A block of size bytes with undefined content; stops the program when
    // memory is exhausted.
    static Bytes ofSize(std::int32_t size);
    // As ofSize, but yields the empty value when the block cannot be had.
    static Bytes tryOfSize(std::size_t size);

    const std::uint8_t* data() const { return block_ != nullptr ? block_ : constantEmptyBytes; }
    std::uint8_t* data() { return block_; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    ByteView view() const { return {data(), size_}; }

private:
    std::uint8_t* block_ = nullptr;
    std::size_t size_ = 0;
};
