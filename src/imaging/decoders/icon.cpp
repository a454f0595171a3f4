// Icon and cursor files: one image of the file, chosen from its directory,
// made into the core's own icon object (colour with an AND mask, or colour
// with alpha).

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "imaging/byte_reader.h"
#include "imaging/decoders/decoders.h"
#include "imaging/icon_image.h"
#include "imaging/limits.h"

namespace {

constexpr std::uint16_t iconType = 1;
constexpr std::uint16_t cursorType = 2;
constexpr std::size_t entrySize = 16;
constexpr std::uint8_t preferredWidth = 32;
constexpr std::uint8_t preferredMinimumColours = 16;
constexpr std::size_t infoHeaderSize = 40;
constexpr std::size_t colourEntrySize = 4;  // blue, green, red, reserved
constexpr std::uint8_t opaque = 0xFF;

// Where the chosen image lies in the file.
struct EntryPlace {
    std::uint32_t size = 0;
    std::uint32_t offset = 0;
};

// The fields of an image's bitmap header that the icon is made from.
struct DibHeader {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // of the colour bitmap alone: half the header's height
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
};

// The file's type word (icon or cursor), or nothing for a broken header.
std::optional<std::uint16_t> readFileType(ByteReader& reader, std::uint16_t& entryCount) {
    const std::uint16_t reserved = reader.u16();
    const std::uint16_t type = reader.u16();
    entryCount = reader.u16();
    if (!reader.ok() || reserved != 0 || (type != iconType && type != cursorType) || entryCount == 0) {
        return std::nullopt;
    }
    return type;
}

// The first entry 32 pixels wide with at least 16 colours, else the last
// entry. Entries after the chosen one need not be present.
std::optional<EntryPlace> chooseEntry(ByteReader& reader, std::uint16_t entryCount) {
    EntryPlace place;
    for (std::uint16_t i = 0; i < entryCount; ++i) {
        ByteReader entry(reader.bytes(entrySize));
        if (!reader.ok()) return std::nullopt;
        const std::uint8_t width = entry.u8();
        entry.skip(1);
        const std::uint8_t colourCount = entry.u8();
        entry.seek(8);
        place.size = entry.u32();
        place.offset = entry.u32();
        if (width == preferredWidth && colourCount >= preferredMinimumColours) break;
    }
    return place;
}

// The chosen image's bytes; nothing when they do not lie within the file.
std::optional<ByteView> imageBytes(ByteView file, const EntryPlace& place) {
    std::size_t end = 0;
    if (!addSizes(place.offset, place.size, end) || end > file.size) return std::nullopt;
    return ByteView{file.data + place.offset, place.size};
}

bool isPngImage(ByteView image) {
    static constexpr std::uint8_t signature[4] = {0x89, 0x50, 0x4E, 0x47};
    return image.size >= sizeof signature && std::memcmp(image.data, signature, sizeof signature) == 0;
}

std::unique_ptr<IconImage> newIconImage() { return std::unique_ptr<IconImage>(new (std::nothrow) IconImage()); }

// An image stored as a PNG file. Its own header gives its size: the bitmap
// header fields at bytes 4 and 8 do not exist in such an image. Its alpha
// channel always decides the blend, since every PNG pixel has a real alpha
// value; the mask is made from it (set where fully transparent) so the icon
// object is complete.
std::unique_ptr<IconImage> iconFromPng(ByteView image) {
    std::optional<Picture> png = decodePng(image);
    if (!png) return nullptr;
    std::unique_ptr<IconImage> icon = newIconImage();
    if (!icon) return nullptr;
    const std::size_t pixelCount = static_cast<std::size_t>(png->width) * static_cast<std::size_t>(png->height);
    icon->mask = Bytes::tryOfSize(pixelCount);
    if (icon->mask.empty()) return nullptr;
    for (std::size_t i = 0; i < pixelCount; ++i) icon->mask.data()[i] = png->pixels.data()[i * 4 + 3] == 0 ? 1 : 0;
    icon->width = png->width;
    icon->height = png->height;
    icon->colour = std::move(png->pixels);
    icon->hasAlpha = true;
    return icon;
}

bool isAcceptedIconDepth(std::uint16_t bitCount) {
    return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
}

// The bitmap header of a non-PNG image. Headers longer than 40 bytes are
// accepted and read as their first 40 bytes, the colour table following the
// whole header; compressed bitmaps (bit fields among them) are refused. The
// header's height covers the colour bitmap and the mask, so each has half
// of it, truncated toward zero.
std::optional<DibHeader> readDibHeader(ByteReader& reader) {
    DibHeader header;
    header.headerSize = reader.u32();
    header.width = reader.i32();
    header.height = reader.i32() / 2;
    reader.skip(2);  // planes
    header.bitCount = reader.u16();
    header.compression = reader.u32();
    reader.skip(12);  // image size, resolution
    header.coloursUsed = reader.u32();
    if (!reader.ok() || header.headerSize < infoHeaderSize || header.compression != 0 ||
        !isAcceptedIconDepth(header.bitCount) || !isAcceptedPictureSize(header.width, header.height)) {
        return std::nullopt;
    }
    return header;
}

// How many colour entries follow the header. A count above what the depth
// can index is taken as the full table the depth allows (at most 256 for
// direct colour, whose table is only skipped); 0 means the full table for
// indexed depths and no table for direct ones.
std::uint32_t colourTableEntries(const DibHeader& header) {
    const std::uint32_t limit = header.bitCount <= 8 ? (std::uint32_t(1) << header.bitCount) : 256;
    if (header.coloursUsed == 0) return header.bitCount <= 8 ? limit : 0;
    return header.coloursUsed < limit ? header.coloursUsed : limit;
}

std::size_t paddedRowLength(std::size_t width, std::uint16_t bitCount) {
    const std::uint64_t bits = std::uint64_t(width) * bitCount;  // 64 bits: may exceed a 32-bit size_t
    return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

// The colour bitmap and the mask as they lie in the image, rows bottom first.
struct DibBitmaps {
    ByteView colourRows;
    std::size_t colourRowLength = 0;
    ByteView maskRows;
    std::size_t maskRowLength = 0;
};

// Takes both bitmaps in place; nothing when the image is too short for them.
std::optional<DibBitmaps> takeBitmaps(ByteReader& reader, const DibHeader& header) {
    const auto width = static_cast<std::size_t>(header.width);
    const auto height = static_cast<std::size_t>(header.height);
    DibBitmaps bitmaps;
    bitmaps.colourRowLength = paddedRowLength(width, header.bitCount);
    bitmaps.maskRowLength = paddedRowLength(width, 1);
    std::size_t colourBytes = 0;
    std::size_t maskBytes = 0;
    if (!multiplySizes(bitmaps.colourRowLength, height, colourBytes) ||
        !multiplySizes(bitmaps.maskRowLength, height, maskBytes)) {
        return std::nullopt;
    }
    bitmaps.colourRows = reader.bytes(colourBytes);
    bitmaps.maskRows = reader.bytes(maskBytes);
    if (!reader.ok()) return std::nullopt;
    return bitmaps;
}

// One colour bitmap row as blue, green, red, alpha. Indexes beyond the
// colour table draw black.
void unpackColourRow(const std::uint8_t* source, const DibHeader& header, ByteView table, std::uint8_t* out) {
    const auto width = static_cast<std::size_t>(header.width);
    if (header.bitCount == 32) {
        std::memcpy(out, source, width * 4);
        return;
    }
    if (header.bitCount == 24) {
        for (std::size_t x = 0; x < width; ++x) {
            std::memcpy(out + x * 4, source + x * 3, 3);
            out[x * 4 + 3] = opaque;
        }
        return;
    }
    const unsigned bits = header.bitCount;
    const unsigned perByte = 8 / bits;
    const unsigned valueMask = (1u << bits) - 1;
    const std::size_t entries = table.size / colourEntrySize;
    for (std::size_t x = 0; x < width; ++x) {
        const unsigned shift = 8 - bits * (static_cast<unsigned>(x % perByte) + 1);  // high bits first
        const unsigned index = (source[x / perByte] >> shift) & valueMask;
        if (index < entries) {
            std::memcpy(out + x * 4, table.data + index * colourEntrySize, 3);
        } else {
            std::memset(out + x * 4, 0, 3);
        }
        out[x * 4 + 3] = opaque;
    }
}

void unpackMaskRow(const std::uint8_t* source, std::size_t width, std::uint8_t* out) {
    for (std::size_t x = 0; x < width; ++x) out[x] = (source[x / 8] >> (7 - x % 8)) & 1;
}

// A 32-bit image whose alpha bytes are all 0 has no alpha channel: its mask
// decides, and its colour is made opaque like that of the other depths.
bool settleAlpha(Bytes& colour) {
    for (std::size_t i = 3; i < colour.size(); i += 4) {
        if (colour.data()[i] != 0) return true;
    }
    for (std::size_t i = 3; i < colour.size(); i += 4) colour.data()[i] = opaque;
    return false;
}

// The core's own counterpart of making an icon from an icon-file image: a
// bitmap header, its colour table, the colour bitmap and the 1-bit AND
// mask, both bottom row first with rows padded to 4 bytes.
std::unique_ptr<IconImage> iconFromDib(ByteView image) {
    ByteReader reader(image);
    const std::optional<DibHeader> header = readDibHeader(reader);
    if (!header) return nullptr;
    reader.seek(header->headerSize);
    const ByteView table = reader.bytes(colourTableEntries(*header) * colourEntrySize);
    const std::optional<DibBitmaps> bitmaps = takeBitmaps(reader, *header);
    if (!reader.ok() || !bitmaps) return nullptr;

    const auto width = static_cast<std::size_t>(header->width);
    const auto height = static_cast<std::size_t>(header->height);
    std::unique_ptr<IconImage> icon = newIconImage();
    if (!icon) return nullptr;
    icon->colour = Bytes::tryOfSize(width * height * 4);
    icon->mask = Bytes::tryOfSize(width * height);
    if (icon->colour.empty() || icon->mask.empty()) return nullptr;
    for (std::size_t row = 0; row < height; ++row) {
        const std::size_t outRow = height - 1 - row;  // the bitmaps are stored bottom row first
        unpackColourRow(bitmaps->colourRows.data + row * bitmaps->colourRowLength, *header, table,
                        icon->colour.data() + outRow * width * 4);
        unpackMaskRow(bitmaps->maskRows.data + row * bitmaps->maskRowLength, width,
                      icon->mask.data() + outRow * width);
    }
    icon->width = header->width;
    icon->height = header->height;
    icon->hasAlpha = header->bitCount == 32 && settleAlpha(icon->colour);
    return icon;
}

}  // namespace

std::optional<Picture> decodeIconFile(ByteView data) {
    ByteReader reader(data);
    std::uint16_t entryCount = 0;
    const std::optional<std::uint16_t> type = readFileType(reader, entryCount);
    if (!type) return std::nullopt;
    const std::optional<EntryPlace> place = chooseEntry(reader, entryCount);
    if (!place) return std::nullopt;
    const std::optional<ByteView> image = imageBytes(data, *place);
    if (!image) return std::nullopt;

    std::unique_ptr<IconImage> icon = isPngImage(*image) ? iconFromPng(*image) : iconFromDib(*image);
    if (!icon) return std::nullopt;

    Picture picture;
    picture.kind = *type == cursorType ? PictureKind::Cursor : PictureKind::Icon;
    picture.width = icon->width;
    picture.height = icon->height;
    picture.icon = std::move(icon);
    return picture;
}
