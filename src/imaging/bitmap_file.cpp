#include "imaging/bitmap_file.h"

#include <cstring>

#include "imaging/limits.h"
#include "imaging/little_endian.h"

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t pixelOffset = fileHeaderSize + infoHeaderSize;

using little_endian::put16;
using little_endian::put32;

void writeHeaders(std::uint8_t* p, const Raster& raster, std::uint32_t imageSize) {
    std::memset(p, 0, pixelOffset);
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<std::uint32_t>(pixelOffset) + imageSize);
    put32(p + 10, pixelOffset);
    put32(p + 14, infoHeaderSize);
    put32(p + 18, static_cast<std::uint32_t>(raster.width()));
    put32(p + 22, static_cast<std::uint32_t>(raster.height()));
    put16(p + 26, 1);
    put16(p + 28, 24);
    put32(p + 34, imageSize);
}

void writeRow(const std::uint32_t* pixels, std::int32_t width, std::uint8_t* out, std::size_t rowLength) {
    std::uint8_t* end = out + rowLength;
    for (std::int32_t x = 0; x < width; ++x) {
        const std::uint32_t p = pixels[x];
        *out++ = static_cast<std::uint8_t>(p);
        *out++ = static_cast<std::uint8_t>(p >> 8);
        *out++ = static_cast<std::uint8_t>(p >> 16);
    }
    while (out != end) *out++ = 0;
}

}  // namespace

Bytes encodeBitmapFile(const Raster& raster) {
    const std::size_t rowLength = (3 * static_cast<std::size_t>(raster.width()) + 3) / 4 * 4;
    std::size_t imageSize = 0;
    std::size_t fileSize = 0;
    if (!multiplySizes(rowLength, static_cast<std::size_t>(raster.height()), imageSize) ||
        !addSizes(imageSize, pixelOffset, fileSize)) {
        return Bytes();
    }
    Bytes file = Bytes::tryOfSize(fileSize);
    if (file.empty()) return file;
    writeHeaders(file.data(), raster, static_cast<std::uint32_t>(imageSize));
    std::uint8_t* rows = file.data() + pixelOffset;
    for (std::int32_t y = raster.height() - 1; y >= 0; --y, rows += rowLength) {
        writeRow(raster.row(y), raster.width(), rows, rowLength);
    }
    return file;
}
