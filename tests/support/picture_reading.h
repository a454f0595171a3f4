#pragma once

// Readers for what the engine produces, shared by the tests: fields of the
// 8-bit bitmap block, and pixels of a 24-bit bitmap file image.

#include <cstddef>
#include <cstdint>

#include "imaging/indexed_block.h"
#include "imaging/picture.h"

namespace picture_reading {

// size little-endian bytes of the picture's block at offset, as one number.
inline std::uint32_t blockField(const Picture& picture, std::size_t offset, std::size_t size) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value |= std::uint32_t(picture.pixels.data()[offset + i]) << (8 * i);
    return value;
}

// Palette entry i of an indexed block as blue, green, red, 0 in one number.
inline std::uint32_t paletteEntry(const Picture& picture, std::size_t i) {
    return blockField(picture, indexed_block::paletteOffset + 4 * i, 4);
}

// The signed 32-bit field at offset of a file image.
inline std::int32_t field32(const std::uint8_t* file, std::size_t offset) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(file[offset]) | file[offset + 1] << 8 |
                                     file[offset + 2] << 16 | static_cast<std::uint32_t>(file[offset + 3]) << 24);
}

// Pixel x, y (0 is the top row) of a 24-bit bitmap file image, as 0x00RRGGBB.
inline std::uint32_t bitmapPixel(const std::uint8_t* file, std::int32_t x, std::int32_t y) {
    const std::int32_t width = field32(file, 18);
    const std::int32_t height = field32(file, 22);
    const std::size_t rowLength = (3 * static_cast<std::size_t>(width) + 3) / 4 * 4;
    const std::uint8_t* p = file + 54 + static_cast<std::size_t>(height - 1 - y) * rowLength + 3 * std::size_t(x);
    return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

}  // namespace picture_reading
