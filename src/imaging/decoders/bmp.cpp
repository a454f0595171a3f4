// Uncompressed Windows bitmap files: 1, 4 and 8 bits a pixel through a
// colour table, 24 and 32 bits a pixel directly. Run-length and bit-field
// files, and every other depth, are refused.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "imaging/byte_reader.h"
#include "imaging/decoders/decoders.h"
#include "imaging/limits.h"

namespace {

constexpr std::size_t headersSize = 54;  // file header and the 40-byte info header
constexpr std::size_t colourEntrySize = 4;  // blue, green, red, reserved
constexpr std::size_t bytesPerOutputPixel = 3;

struct BmpHeader {
    std::uint32_t pixelOffset = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

// A colour table of up to 256 entries as blue, green, red. Slots that the
// file's table does not fill stay black: an index beyond the entries read
// draws black rather than reading outside the table.
using Palette = std::array<std::array<std::uint8_t, 3>, 256>;

std::optional<BmpHeader> readHeader(ByteReader& reader) {
    const ByteView bytes = reader.bytes(headersSize);
    if (!reader.ok()) return std::nullopt;
    ByteReader fields(bytes);
    BmpHeader header;
    fields.seek(10);
    header.pixelOffset = fields.u32();
    fields.seek(18);
    header.width = fields.i32();
    header.height = fields.i32();
    fields.seek(28);
    header.bitCount = fields.u16();
    header.compression = fields.u32();
    fields.seek(46);
    header.coloursUsed = fields.u32();
    return header;
}

bool isIndexed(std::uint16_t bitCount) { return bitCount == 1 || bitCount == 4 || bitCount == 8; }

bool isAcceptedDepth(std::uint16_t bitCount) { return isIndexed(bitCount) || bitCount == 24 || bitCount == 32; }

// The width or height field as a pixel count; 64 bits hold the magnitude
// of INT32_MIN too, which the size limit then refuses.
std::int64_t magnitude(std::int32_t value) { return std::abs(static_cast<std::int64_t>(value)); }

// Reads the colour table that follows the headers. All the entries the
// header announces are read, as the pixel offset is measured past them,
// but only the first 2^bitCount can ever be indexed, so only those are
// kept; the table is read in place, never copied whole, so a huge count
// costs nothing beyond the bounds check that refuses it.
bool readPalette(ByteReader& reader, const BmpHeader& header, Palette& palette) {
    const std::uint32_t indexable = std::uint32_t(1) << header.bitCount;
    const std::uint32_t announced = header.coloursUsed == 0 ? indexable : header.coloursUsed;
    std::size_t tableBytes = 0;
    if (!multiplySizes(announced, colourEntrySize, tableBytes)) return false;
    const ByteView table = reader.bytes(tableBytes);
    if (!reader.ok()) return false;
    const std::size_t kept = announced < indexable ? announced : indexable;
    for (std::size_t i = 0; i < kept; ++i) {
        const std::uint8_t* entry = table.data + i * colourEntrySize;
        palette[i] = {entry[0], entry[1], entry[2]};
    }
    return true;
}

// Moves from the end of the colour table to the pixel data: a table that
// runs past the pixel offset is a broken file; bytes between the two are
// skipped unread.
bool moveToPixels(ByteReader& reader, std::uint32_t pixelOffset) {
    if (reader.position() > pixelOffset) return false;
    reader.seek(pixelOffset);
    return reader.ok();
}

// Bytes of one file row before its padding.
std::size_t rowDataLength(std::size_t width, std::uint16_t bitCount) {
    // Counted in 64 bits: 2^28 pixels of 32 bits overflow a 32-bit size_t,
    // while the byte count itself (at most 2^30) fits.
    return static_cast<std::size_t>((std::uint64_t(width) * bitCount + 7) / 8);
}

std::size_t paddedRowLength(std::size_t width, std::uint16_t bitCount) {
    return (rowDataLength(width, bitCount) + 3) / 4 * 4;
}

// Whether the data after the pixel offset holds every row. Checked before
// the raster is allocated, so a small file claiming a huge picture costs
// nothing. The last row's padding is not required: it holds no pixel, and
// writers that leave it off still make readable files.
bool holdsAllRows(const ByteReader& reader, std::size_t width, std::size_t height, std::uint16_t bitCount) {
    std::size_t needed = 0;
    if (!multiplySizes(paddedRowLength(width, bitCount), height - 1, needed) ||
        !addSizes(needed, rowDataLength(width, bitCount), needed)) {
        return false;
    }
    return needed <= reader.remaining();
}

void unpackIndexedRow(const std::uint8_t* source, std::size_t width, std::uint16_t bitCount, const Palette& palette,
                      std::uint8_t* out) {
    if (bitCount == 8) {  // the common depth, one whole byte an index
        for (std::size_t x = 0; x < width; ++x) {
            std::memcpy(out + x * bytesPerOutputPixel, palette[source[x]].data(), bytesPerOutputPixel);
        }
        return;
    }
    const unsigned perByte = 8 / bitCount;
    const unsigned valueMask = (1u << bitCount) - 1;
    for (std::size_t x = 0; x < width; ++x) {
        const unsigned slot = static_cast<unsigned>(x % perByte);
        const unsigned shift = 8 - bitCount * (slot + 1);  // most significant bits first
        const unsigned index = (source[x / perByte] >> shift) & valueMask;
        std::memcpy(out + x * bytesPerOutputPixel, palette[index].data(), bytesPerOutputPixel);
    }
}

void copyDirectRow(const std::uint8_t* source, std::size_t width, std::uint16_t bitCount, std::uint8_t* out) {
    const std::size_t step = bitCount / 8;
    if (step == bytesPerOutputPixel) {
        std::memcpy(out, source, width * bytesPerOutputPixel);
        return;
    }
    for (std::size_t x = 0; x < width; ++x) {  // the fourth byte of a 32-bit pixel is not used
        std::memcpy(out + x * bytesPerOutputPixel, source + x * step, bytesPerOutputPixel);
    }
}

// Reads the rows in file order into the Bmp layout (bottom row first). A
// bottom-up file (positive height) is already in that order; a top-down
// one is turned over as it is read.
bool readRows(ByteReader& reader, const BmpHeader& header, const Palette& palette, std::size_t width,
              std::size_t height, Bytes& pixels) {
    const std::size_t outRowLength = width * bytesPerOutputPixel;
    const std::size_t dataLength = rowDataLength(width, header.bitCount);
    const std::size_t padding = paddedRowLength(width, header.bitCount) - dataLength;
    const bool topDown = header.height < 0;
    for (std::size_t fileRow = 0; fileRow < height; ++fileRow) {
        const ByteView row = reader.bytes(dataLength);
        if (!reader.ok()) return false;
        const std::size_t outRow = topDown ? height - 1 - fileRow : fileRow;
        std::uint8_t* out = pixels.data() + outRow * outRowLength;
        if (isIndexed(header.bitCount)) {
            unpackIndexedRow(row.data, width, header.bitCount, palette, out);
        } else {
            copyDirectRow(row.data, width, header.bitCount, out);
        }
        if (fileRow + 1 < height) reader.skip(padding);
    }
    return reader.ok();
}

}  // namespace

std::optional<Picture> decodeBmp(ByteView data) {
    ByteReader reader(data);
    const std::optional<BmpHeader> header = readHeader(reader);
    if (!header || header->compression != 0 || !isAcceptedDepth(header->bitCount)) return std::nullopt;

    Palette palette{};
    if (isIndexed(header->bitCount) && !readPalette(reader, *header, palette)) return std::nullopt;
    if (!moveToPixels(reader, header->pixelOffset)) return std::nullopt;

    // A side of 0 is refused: such a picture could never be drawn.
    const std::int64_t width = magnitude(header->width);
    const std::int64_t height = magnitude(header->height);
    if (!isAcceptedPictureSize(width, height)) return std::nullopt;
    const auto columns = static_cast<std::size_t>(width);
    const auto rows = static_cast<std::size_t>(height);
    if (!holdsAllRows(reader, columns, rows, header->bitCount)) return std::nullopt;

    Bytes pixels = Bytes::tryOfSize(columns * rows * bytesPerOutputPixel);
    if (pixels.empty()) return std::nullopt;
    if (!readRows(reader, *header, palette, columns, rows, pixels)) return std::nullopt;

    Picture picture;
    picture.kind = PictureKind::Bmp;
    picture.width = static_cast<std::int32_t>(width);
    picture.height = static_cast<std::int32_t>(height);
    picture.pixels = std::move(pixels);
    return picture;
}
