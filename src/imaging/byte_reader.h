#pragma once

#include <cstddef>
#include <cstdint>

#include "app/byte_view.h"

// Reads little-endian fields from untrusted bytes. A read past the end
// yields zeros and marks the reader failed for good, so a decoder can read
// a run of fields and check ok() once.
class ByteReader {
public:
    explicit ByteReader(ByteView data) : data_(data) {}

    std::uint8_t u8() {
        if (!require(1)) return 0;
        return data_.data[position_++];
    }
    std::uint16_t u16() {
        if (!require(2)) return 0;
        const std::uint8_t* p = data_.data + position_;
        position_ += 2;
        return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    }
    std::uint32_t u32() {
        if (!require(4)) return 0;
        const std::uint8_t* p = data_.data + position_;
        position_ += 4;
        return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
               (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::int16_t i16() { return static_cast<std::int16_t>(u16()); }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }

    // The next count bytes, in place; an empty view (and failure) when fewer remain.
    ByteView bytes(std::size_t count) {
        if (!require(count)) return {};
        const ByteView view{data_.data + position_, count};
        position_ += count;
        return view;
    }
    void skip(std::size_t count) {
        if (require(count)) position_ += count;
    }
    // Moves to an absolute offset; an offset beyond the end fails.
    void seek(std::size_t offset) {
        if (offset > data_.size) {
            fail();
            return;
        }
        position_ = offset;
    }

    std::size_t position() const { return position_; }
    std::size_t remaining() const { return data_.size - position_; }
    bool atEnd() const { return position_ >= data_.size; }
    bool ok() const { return ok_; }
    void fail() {
        ok_ = false;
        position_ = data_.size;
    }

private:
    bool require(std::size_t count) {
        if (ok_ && count <= data_.size - position_) return true;
        fail();
        return false;
    }

    ByteView data_;
    std::size_t position_ = 0;
    bool ok_ = true;
};
