#include "imaging/indexed_block.h"

#include <cstring>

#include "imaging/limits.h"
#include "imaging/little_endian.h"

namespace indexed_block {

using little_endian::get32;
using little_endian::put16;
using little_endian::put32;

Bytes create(const Layout& layout) {
    if (!isAcceptedPictureSize(layout.width, layout.height)) return Bytes();
    if (layout.rowLength % 4 != 0 || layout.rowLength < static_cast<std::uint32_t>(layout.width)) return Bytes();
    std::size_t rowBytes = 0;
    std::size_t total = 0;
    if (!multiplySizes(layout.rowLength, static_cast<std::size_t>(layout.height), rowBytes) ||
        !addSizes(rowsOffset, rowBytes, total)) {
        return Bytes();
    }
    Bytes block = Bytes::tryOfSize(total);
    if (block.empty()) return block;
    std::uint8_t* p = block.data();
    std::memset(p, 0, total);
    put32(p + 0, headerSize);
    put32(p + 4, static_cast<std::uint32_t>(layout.width));
    put32(p + 8, static_cast<std::uint32_t>(-layout.height));
    put16(p + 12, layout.planes);
    put16(p + 14, 8);
    put32(p + 32, layout.coloursUsed);
    put32(p + 36, layout.coloursUsed);
    return block;
}

std::int32_t width(const Bytes& block) { return static_cast<std::int32_t>(get32(block.data() + 4)); }

std::int32_t height(const Bytes& block) { return -static_cast<std::int32_t>(get32(block.data() + 8)); }

// The row length is not in the header: it follows from the size of the block.
std::uint32_t rowLength(const Bytes& block) {
    return static_cast<std::uint32_t>((block.size() - rowsOffset) / static_cast<std::size_t>(height(block)));
}

std::uint8_t* palette(Bytes& block) { return block.data() + paletteOffset; }
const std::uint8_t* palette(const Bytes& block) { return block.data() + paletteOffset; }

std::uint8_t* row(Bytes& block, std::int32_t y) {
    return block.data() + rowsOffset + static_cast<std::size_t>(y) * rowLength(block);
}
const std::uint8_t* row(const Bytes& block, std::int32_t y) {
    return block.data() + rowsOffset + static_cast<std::size_t>(y) * rowLength(block);
}

}  // namespace indexed_block
