#pragma once

#include <cstddef>
#include <cstdint>

// A read-only view of bytes owned elsewhere.
struct ByteView {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;

    bool empty() const { return size == 0; }
};
