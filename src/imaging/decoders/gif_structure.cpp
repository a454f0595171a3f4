#include "imaging/decoders/gif_structure.h"

#include <algorithm>
#include <cstring>

namespace gif {

namespace {

constexpr std::size_t screenDescriptorEnd = 13;
constexpr std::uint8_t hasColourTable = 0x80;
constexpr std::uint8_t isInterlaced = 0x40;

bool hasSignature(ByteView data) {
    static constexpr std::uint8_t gif8[4] = {0x47, 0x49, 0x46, 0x38};
    return std::memcmp(data.data, gif8, 4) == 0 && (data.data[4] == 0x37 || data.data[4] == 0x39) &&
           data.data[5] == 0x61;
}

// The colour table a flags byte announces; empty (and the reader failed)
// when it runs past the data.
ByteView readColourTable(ByteReader& reader, std::uint8_t flags) {
    if ((flags & hasColourTable) == 0) return {};
    const std::size_t entries = std::size_t(1) << ((flags & 7) + 1);
    return reader.bytes(3 * entries);
}

struct Pass {
    std::int32_t firstRow;
    std::int32_t step;
};
constexpr Pass interlacedPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};

}  // namespace

std::optional<Screen> readScreen(ByteView data, ByteReader& reader) {
    if (data.size <= screenDescriptorEnd || !hasSignature(data)) return std::nullopt;
    reader.seek(6);
    Screen screen;
    screen.width = reader.u16();
    screen.height = reader.u16();
    const std::uint8_t flags = reader.u8();
    reader.skip(2);  // background colour index and aspect ratio
    screen.colourTable = readColourTable(reader, flags);
    if (!reader.ok() || reader.atEnd()) return std::nullopt;
    return screen;
}

bool skipSubBlocks(ByteReader& reader) {
    for (std::uint8_t length = reader.u8(); length != 0 && reader.ok(); length = reader.u8()) {
        reader.skip(length);
    }
    return reader.ok();
}

std::optional<std::size_t> extensionHeaderSize(std::uint8_t label) {
    switch (label) {
    case graphicControlLabel: return 5;  // size byte 4, flags, delay, transparent index
    case 0x01: return 13;                // plain text: size byte 12 and 12 bytes
    case 0xFE: return 0;                 // comment: sub-blocks only
    case 0xFF: return 12;                // application: size byte 11 and 11 bytes
    default: return std::nullopt;
    }
}

std::optional<ImageDescriptor> readImageDescriptor(ByteReader& reader) {
    ImageDescriptor image;
    image.left = reader.u16();
    image.top = reader.u16();
    image.width = reader.u16();
    image.height = reader.u16();
    const std::uint8_t flags = reader.u8();
    image.interlaced = (flags & isInterlaced) != 0;
    image.localColourTable = readColourTable(reader, flags);
    if (!reader.ok()) return std::nullopt;
    return image;
}

RowOrder::RowOrder(std::int32_t height, bool interlaced) : height_(height), interlaced_(interlaced) {
    done_ = height <= 0;
}

void RowOrder::next() {
    if (!interlaced_) {
        done_ = ++row_ >= height_;
        return;
    }
    row_ += interlacedPasses[pass_].step;
    while (row_ >= height_) {
        if (++pass_ == 4) {
            done_ = true;
            return;
        }
        row_ = interlacedPasses[pass_].firstRow;
    }
}

bool decodeImageData(ByteReader& reader, LzwSink& sink) {
    const std::uint8_t minimumCodeSize = reader.u8();
    if (!reader.ok()) return true;
    LzwDecoder lzw(minimumCodeSize);
    for (std::uint8_t length = reader.u8(); length != 0 && reader.ok(); length = reader.u8()) {
        const ByteView piece = reader.bytes(std::min<std::size_t>(length, reader.remaining()));
        lzw.feed(piece, sink);  // once decoding has ended, the rest of the chain is only skipped
    }
    return lzw.state() != LzwDecoder::State::Broken;
}

}  // namespace gif
