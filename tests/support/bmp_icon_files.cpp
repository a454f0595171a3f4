#include "support/bmp_icon_files.h"

#include <cstdlib>

namespace bmp_icon_files {
namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t iconHeaderSize = 6;
constexpr std::size_t iconEntrySize = 16;
constexpr std::uint8_t gapFiller = 0xEE;

void putU16(FileBytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void putU32(FileBytes& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void padTo4(FileBytes& row) {
    while (row.size() % 4 != 0) row.push_back(0);
}

// One row of values at bitCount bits each: packed from the high bits of each
// byte below 8 bits, else as little-endian bytes (nothing for 0 bits).
FileBytes packRow(const std::uint32_t* values, std::size_t count, std::uint16_t bitCount) {
    FileBytes row;
    if (bitCount >= 8) {
        for (std::size_t x = 0; x < count; ++x) {
            const std::uint64_t value = values[x];
            for (unsigned byte = 0; byte < bitCount / 8u; ++byte) {
                row.push_back(byte < 8 ? static_cast<std::uint8_t>(value >> (8 * byte)) : 0);
            }
        }
        return row;
    }
    unsigned used = 8;
    for (std::size_t x = 0; x < count && bitCount > 0; ++x) {
        if (used + bitCount > 8) {
            row.push_back(0);
            used = 0;
        }
        used += bitCount;
        row.back() |= static_cast<std::uint8_t>((values[x] & ((1u << bitCount) - 1)) << (8 - used));
    }
    return row;
}

void putPalette(FileBytes& out, const std::vector<std::uint32_t>& palette) {
    for (const std::uint32_t colour : palette) putU32(out, colour & 0x00FFFFFF);
}

// The rows of a top-row-first pixel grid, in file order, each padded.
// Pixels that do not cover the whole grid are written as whole rows in the
// order given, so a header may claim far more than the file holds.
void putRows(FileBytes& out, const std::vector<std::uint32_t>& pixels, std::size_t width, std::size_t height,
             std::uint16_t bitCount, bool bottomUp, bool padLastRow) {
    const bool complete = width != 0 && pixels.size() == width * height;
    const std::size_t rows = width == 0 ? 0 : complete ? height : pixels.size() / width;
    for (std::size_t fileRow = 0; fileRow < rows; ++fileRow) {
        const std::size_t row = complete && bottomUp ? height - 1 - fileRow : fileRow;
        FileBytes bytes = packRow(pixels.data() + row * width, width, bitCount);
        if (padLastRow || fileRow + 1 < rows) padTo4(bytes);
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
}

void putInfoHeader(FileBytes& out, std::uint32_t size, std::int32_t width, std::int32_t height,
                   std::uint16_t bitCount, std::uint32_t compression, std::uint32_t coloursUsed) {
    putU32(out, size);
    putU32(out, static_cast<std::uint32_t>(width));
    putU32(out, static_cast<std::uint32_t>(height));
    putU16(out, 1);  // planes
    putU16(out, bitCount);
    putU32(out, compression);
    putU32(out, 0);  // image size
    putU32(out, 2835);  // 72 dots an inch, both ways
    putU32(out, 2835);
    putU32(out, coloursUsed);
    putU32(out, 0);  // colours important
    out.resize(out.size() + (size > infoHeaderSize ? size - infoHeaderSize : 0), 0);
}

std::uint8_t sideByte(std::int32_t side) { return side >= 256 ? 0 : static_cast<std::uint8_t>(side); }

std::uint8_t colourCountByte(std::uint16_t bitCount) {
    return bitCount < 8 ? static_cast<std::uint8_t>(1u << bitCount) : 0;
}

}  // namespace

FileBytes writeBmp(const BmpDescription& description) {
    const std::size_t width = static_cast<std::size_t>(std::llabs(description.width));
    const std::size_t height = static_cast<std::size_t>(std::llabs(description.height));
    const std::size_t pixelStart =
        fileHeaderSize + infoHeaderSize + 4 * description.palette.size() + description.gapBeforePixels;

    FileBytes out;
    out.push_back('B');
    out.push_back('M');
    putU32(out, 0);  // file size, patched below
    putU32(out, 0);  // reserved
    putU32(out, description.pixelOffsetField.value_or(static_cast<std::uint32_t>(pixelStart)));
    putInfoHeader(out, infoHeaderSize, description.width, description.height, description.bitCount,
                  description.compression, description.coloursUsedField);
    putPalette(out, description.palette);
    out.resize(out.size() + description.gapBeforePixels, gapFiller);
    putRows(out, description.pixels, width, height, description.bitCount, description.height > 0,
            description.padLastRow);
    const auto fileSize = static_cast<std::uint32_t>(out.size());
    for (int i = 0; i < 4; ++i) out[2 + i] = static_cast<std::uint8_t>(fileSize >> (8 * i));
    return out;
}

FileBytes solidBitmap(std::int32_t width, std::int32_t height, std::uint32_t rgb) {
    BmpDescription description;
    description.width = width;
    description.height = height;
    description.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0xFF000000u | rgb);
    return writeBmp(description);
}

FileBytes writeIconImage(const IconImageDescription& description) {
    if (!description.png.empty()) return description.png;
    const auto width = static_cast<std::size_t>(description.width);
    const auto height = static_cast<std::size_t>(description.height);
    FileBytes out;
    putInfoHeader(out, description.headerSize, description.width,
                  description.heightField.value_or(2 * description.height), description.bitCount,
                  description.compression, description.coloursUsedField);
    putPalette(out, description.palette);
    putRows(out, description.pixels, width, height, description.bitCount, true, true);
    // The mask covers the rows the pixels cover.
    std::vector<std::uint32_t> maskBits(description.pixels.size(), 0);
    for (std::size_t i = 0; i < maskBits.size() && i < description.mask.size(); ++i) {
        maskBits[i] = description.mask[i] != 0 ? 1 : 0;
    }
    putRows(out, maskBits, width, height, 1, true, true);
    return out;
}

FileBytes writeIconFile(const IconFileDescription& description) {
    std::vector<FileBytes> images;
    for (const IconEntryDescription& entry : description.entries) images.push_back(writeIconImage(entry.image));

    FileBytes out;
    putU16(out, description.reserved);
    putU16(out, description.type);
    putU16(out, description.countField.value_or(static_cast<std::uint16_t>(description.entries.size())));
    std::size_t imageOffset = iconHeaderSize + iconEntrySize * description.entries.size();
    for (std::size_t i = 0; i < description.entries.size(); ++i) {
        const IconEntryDescription& entry = description.entries[i];
        const IconImageDescription& image = entry.image;
        out.push_back(entry.widthByte.value_or(sideByte(image.width)));
        out.push_back(entry.heightByte.value_or(sideByte(image.height)));
        out.push_back(entry.colourCountByte.value_or(colourCountByte(image.bitCount)));
        out.push_back(0);  // reserved
        if (description.type == 2) {
            putU32(out, 0);  // hot spot x and y
        } else {
            putU16(out, 1);  // planes
            putU16(out, image.bitCount);
        }
        putU32(out, entry.sizeField.value_or(static_cast<std::uint32_t>(images[i].size())));
        putU32(out, entry.offsetField.value_or(static_cast<std::uint32_t>(imageOffset)));
        imageOffset += images[i].size();
    }
    for (const FileBytes& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

std::vector<std::uint32_t> distinctPalette(std::size_t count) {
    std::vector<std::uint32_t> palette;
    for (std::size_t i = 0; i < count; ++i) {
        const auto grey = static_cast<std::uint32_t>(i & 0xFF);
        const auto blue = static_cast<std::uint32_t>((i * 37 + 11) & 0xFF);
        palette.push_back(grey << 16 | grey << 8 | blue);
    }
    return palette;
}

std::vector<std::uint32_t> indexPattern(std::int32_t width, std::int32_t height, std::uint32_t period) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) pixels.push_back(static_cast<std::uint32_t>(x + 3 * y) % period);
    }
    return pixels;
}

std::vector<std::uint32_t> colourPattern(std::int32_t width, std::int32_t height) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const auto red = static_cast<std::uint32_t>(x * 40 + 7) & 0xFF;
            const auto green = static_cast<std::uint32_t>(y * 50 + 3) & 0xFF;
            const auto blue = static_cast<std::uint32_t>(x * 11 + y * 13 + 100) & 0xFF;
            pixels.push_back(0xFF000000u | red << 16 | green << 8 | blue);
        }
    }
    return pixels;
}

IconImageDescription patternedIconImage(std::int32_t width, std::int32_t height, std::uint16_t bitCount) {
    IconImageDescription image;
    image.width = width;
    image.height = height;
    image.bitCount = bitCount;
    if (bitCount <= 8) {
        const std::uint32_t entries = 1u << bitCount;
        image.palette = distinctPalette(entries);
        image.pixels = indexPattern(width, height, entries);
    } else {
        image.pixels = colourPattern(width, height);
    }
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) image.mask.push_back((x + y) % 2 == 0 ? 1 : 0);
    }
    return image;
}

}  // namespace bmp_icon_files
