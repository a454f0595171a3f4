#pragma once

#include <cstdint>

#include "app/bytes.h"

// The 8-bit bitmap block of GIF and 256-colour PCX pictures, laid out like a
// device-independent bitmap in memory: a 40-byte info header with a negative
// height (top row first), 256 colour entries of blue, green, red, 0, then
// the rows, one colour index a pixel, each padded to a multiple of 4 bytes.
namespace indexed_block {

inline constexpr std::size_t headerSize = 40;
inline constexpr std::size_t paletteOffset = 40;
inline constexpr std::size_t paletteEntries = 256;
inline constexpr std::size_t rowsOffset = paletteOffset + 4 * paletteEntries;

struct Layout {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t rowLength = 0;   // bytes, a multiple of 4, at least the width
    std::uint16_t planes = 1;
    std::uint32_t coloursUsed = 0;  // written as colours used and colours important
};

// The block of layout, zero-filled (a zeroed palette is black); empty when
// the size cannot be had. width x height must be an accepted picture size.
Bytes create(const Layout& layout);

// Fields of an existing block, which must come from create.
std::int32_t width(const Bytes& block);
std::int32_t height(const Bytes& block);  // positive
std::uint32_t rowLength(const Bytes& block);
std::uint8_t* palette(Bytes& block);
const std::uint8_t* palette(const Bytes& block);
std::uint8_t* row(Bytes& block, std::int32_t y);
const std::uint8_t* row(const Bytes& block, std::int32_t y);

}  // namespace indexed_block
