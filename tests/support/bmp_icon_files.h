#pragma once

// Writers of bitmap, icon and cursor files from readable descriptions, for
// tests, fuzz seeds and benchmarks. They write whatever they are told,
// broken fields included, so malformed files are as easy to make as good
// ones.

#include <cstdint>
#include <optional>
#include <vector>

#include "app/byte_view.h"

namespace bmp_icon_files {

using FileBytes = std::vector<std::uint8_t>;

inline ByteView viewOf(const FileBytes& bytes) { return {bytes.data(), bytes.size()}; }

// Pixels and colour entries are given as 0xAARRGGBB; the alpha byte is
// written only where the format has room for it (32-bit pixels). For
// depths of 8 bits or fewer a pixel is a colour index instead. Any other
// depth writes the low bits of each value, so refused depths (16, 64) can be
// written too.

struct BmpDescription {
    std::int32_t width = 1;
    std::int32_t height = 1;  // positive: rows stored bottom row first; negative: top row first
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsedField = 0;  // the header field, whatever palette holds
    std::vector<std::uint32_t> palette;  // the entries written after the headers
    std::size_t gapBeforePixels = 0;     // filler bytes (0xEE) between the palette and the pixels
    std::optional<std::uint32_t> pixelOffsetField;  // default: where the pixels really start
    // |width| x |height| values, top row first; any other count is written
    // as whole rows in the order given, for files shorter than their header says
    std::vector<std::uint32_t> pixels;
    bool padLastRow = true;              // some writers leave the last row's padding off
};

FileBytes writeBmp(const BmpDescription& description);

// A 24-bit bitmap file of one colour, 0x00RRGGBB.
FileBytes solidBitmap(std::int32_t width, std::int32_t height, std::uint32_t rgb);

// One image of an icon or cursor file: a bitmap header, its colour table,
// the colour bitmap and the AND mask; or, when png is not empty, those
// bytes as they are.
struct IconImageDescription {
    std::int32_t width = 1;
    std::int32_t height = 1;  // of the colour bitmap; the header holds twice this
    std::optional<std::int32_t> heightField;  // overrides the header's height
    std::uint16_t bitCount = 32;
    std::uint32_t compression = 0;
    std::uint32_t headerSize = 40;  // larger sizes are padded with zeros
    std::uint32_t coloursUsedField = 0;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint32_t> pixels;  // width x height values, top row first (other counts as for BmpDescription)
    std::vector<std::uint8_t> mask;     // width x height, top row first, non-zero = set; empty: all clear
    FileBytes png;
};

struct IconEntryDescription {
    IconImageDescription image;
    // Directory fields; by default taken from the image (a side of 256 or
    // more as 0, the colour count as 2^bitCount below 8 bits, else 0).
    std::optional<std::uint8_t> widthByte;
    std::optional<std::uint8_t> heightByte;
    std::optional<std::uint8_t> colourCountByte;
    std::optional<std::uint32_t> sizeField;    // default: the image's length
    std::optional<std::uint32_t> offsetField;  // default: where the image really lies
};

struct IconFileDescription {
    std::uint16_t reserved = 0;
    std::uint16_t type = 1;  // 1 icon, 2 cursor
    std::optional<std::uint16_t> countField;  // default: the number of entries
    std::vector<IconEntryDescription> entries;
};

FileBytes writeIconImage(const IconImageDescription& description);
// The header, the directory, then the images in entry order.
FileBytes writeIconFile(const IconFileDescription& description);

// Readable content for the descriptions.

// count colour entries, each distinct: a grey ramp from black, with the
// blue channel raised so neighbours differ even for long tables.
std::vector<std::uint32_t> distinctPalette(std::size_t count);
// width x height values cycling through 0 .. period - 1, so that every
// position in a row and every row is told apart.
std::vector<std::uint32_t> indexPattern(std::int32_t width, std::int32_t height, std::uint32_t period);
// width x height opaque colours, each different from its neighbours.
std::vector<std::uint32_t> colourPattern(std::int32_t width, std::int32_t height);
// An icon image of the given size and depth with a full palette (below 16
// bits), a pattern of pixels and a checkerboard mask.
IconImageDescription patternedIconImage(std::int32_t width, std::int32_t height, std::uint16_t bitCount);

}  // namespace bmp_icon_files
