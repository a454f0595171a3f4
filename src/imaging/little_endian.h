#pragma once

#include <cstdint>

// Writing and reading the little-endian fields of the bitmap layouts we make.
namespace little_endian {

inline void put16(std::uint8_t* p, std::uint32_t value) {
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void put32(std::uint8_t* p, std::uint32_t value) {
    put16(p, value);
    put16(p + 2, value >> 16);
}

inline std::uint32_t get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace little_endian
