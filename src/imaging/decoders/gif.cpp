// GIF: the first image of the file, in an 8-bit bitmap block at the image's
// own size; the picture itself takes the logical screen size.

#include <algorithm>
#include <cstring>

#include "imaging/byte_reader.h"
#include "imaging/decoders/decoders.h"
#include "imaging/decoders/lzw.h"
#include "imaging/indexed_block.h"
#include "imaging/limits.h"

namespace {

constexpr std::size_t screenDescriptorEnd = 13;

constexpr std::uint8_t extensionIntroducer = 0x21;
constexpr std::uint8_t imageSeparator = 0x2C;

constexpr std::uint8_t hasColourTable = 0x80;
constexpr std::uint8_t isInterlaced = 0x40;

struct Screen {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    ByteView colourTable;  // red, green, blue triples, in place
};

struct ImageDescriptor {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    bool interlaced = false;
    ByteView localColourTable;  // empty when the image has none
};

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

std::optional<Screen> readScreen(ByteView data, ByteReader& reader) {
    if (data.size <= screenDescriptorEnd || !hasSignature(data)) return std::nullopt;
    reader.seek(6);
    Screen screen;
    screen.width = reader.u16();
    screen.height = reader.u16();
    const std::uint8_t flags = reader.u8();
    reader.skip(2);  // background colour index and aspect ratio
    screen.colourTable = readColourTable(reader, flags);
    // A table that reaches the end of the data leaves no room for an image.
    if (!reader.ok() || reader.atEnd()) return std::nullopt;
    return screen;
}

// Skips a chain of sub-blocks up to its empty terminator; false when the
// chain runs past the data.
bool skipSubBlocks(ByteReader& reader) {
    for (std::uint8_t length = reader.u8(); length != 0 && reader.ok(); length = reader.u8()) {
        reader.skip(length);
    }
    return reader.ok();
}

// The fixed bytes an extension holds before its chain of sub-blocks (its
// size byte included), by label; none for a label this decoder does not know.
std::optional<std::size_t> extensionHeaderSize(std::uint8_t label) {
    switch (label) {
        case 0xF9: return 5;   // graphic control: size byte 4 and 4 bytes; only the terminator follows
        case 0x01: return 13;  // plain text: size byte 12 and 12 bytes
        case 0xFE: return 0;   // comment: sub-blocks only
        case 0xFF: return 12;  // application: size byte 11 and 11 bytes
        default: return std::nullopt;
    }
}

// Nothing of an extension plays a part in the picture: transparency and
// delays included.
bool skipExtension(ByteReader& reader) {
    const std::optional<std::size_t> headerSize = extensionHeaderSize(reader.u8());
    if (!headerSize || !reader.ok()) return false;
    reader.skip(*headerSize);
    return skipSubBlocks(reader);
}

// Walks the blocks up to the first image separator; false when the data
// holds no image before its trailer or end, or is malformed before it.
bool findFirstImage(ByteReader& reader) {
    for (;;) {
        const std::uint8_t introducer = reader.u8();
        if (!reader.ok()) return false;
        if (introducer == imageSeparator) return true;
        if (introducer != extensionIntroducer || !skipExtension(reader)) return false;
    }
}

std::optional<ImageDescriptor> readImageDescriptor(ByteReader& reader) {
    reader.skip(4);  // left and top: the image is always drawn at the top left
    ImageDescriptor image;
    image.width = reader.u16();
    image.height = reader.u16();
    const std::uint8_t flags = reader.u8();
    image.interlaced = (flags & isInterlaced) != 0;
    image.localColourTable = readColourTable(reader, flags);
    if (!reader.ok()) return std::nullopt;
    return image;
}

// Entries beyond the file's table stay zero, so an index beyond it draws
// black.
void storeColourTable(ByteView rgb, Bytes& block) {
    std::uint8_t* entry = indexed_block::palette(block);
    for (std::size_t i = 0; i + 2 < rgb.size; i += 3, entry += 4) {
        entry[0] = rgb.data[i + 2];
        entry[1] = rgb.data[i + 1];
        entry[2] = rgb.data[i];
        entry[3] = 0;
    }
}

// Places decoded indices row by row, in the row order of the four interlace
// passes or straight down, and drops whatever comes after the last row.
class PixelPlacer final : public LzwSink {
public:
    PixelPlacer(Bytes& block, bool interlaced)
        : rows_(indexed_block::row(block, 0)),
          rowLength_(indexed_block::rowLength(block)),
          width_(static_cast<std::size_t>(indexed_block::width(block))),
          height_(indexed_block::height(block)),
          passes_(interlaced ? interlacedPasses : straightPass),
          passCount_(interlaced ? 4 : 1) {}

    bool take(const std::uint8_t* indices, std::size_t count) override {
        while (count > 0 && !full_) {
            const std::size_t n = std::min(count, width_ - x_);
            std::memcpy(rows_ + static_cast<std::size_t>(y_) * rowLength_ + x_, indices, n);
            indices += n;
            count -= n;
            x_ += n;
            if (x_ == width_) nextRow();
        }
        return !full_;
    }

private:
    struct Pass {
        std::int32_t firstRow;
        std::int32_t step;
    };
    static constexpr Pass interlacedPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    static constexpr Pass straightPass[1] = {{0, 1}};

    void nextRow() {
        x_ = 0;
        y_ += passes_[pass_].step;
        while (y_ >= height_) {
            if (++pass_ == passCount_) {
                full_ = true;
                return;
            }
            y_ = passes_[pass_].firstRow;
        }
    }

    std::uint8_t* rows_;
    std::size_t rowLength_;
    std::size_t width_;
    std::int32_t height_;
    const Pass* passes_;
    int passCount_;
    int pass_ = 0;
    std::int32_t y_ = 0;
    std::size_t x_ = 0;
    bool full_ = false;
};

// Feeds the data sub-blocks to the LZW decoder; false only for a broken
// code stream. Pixels the data never reaches keep index 0: the end of the
// data ends the image like the end code does, even inside a sub-block, so a
// cut-off file shows as much as it holds.
bool decodeImageData(ByteReader& reader, Bytes& block, bool interlaced) {
    const std::uint8_t minimumCodeSize = reader.u8();
    if (!reader.ok()) return true;
    LzwDecoder lzw(minimumCodeSize);
    PixelPlacer placer(block, interlaced);
    for (std::uint8_t length = reader.u8(); length != 0 && reader.ok(); length = reader.u8()) {
        const ByteView piece = reader.bytes(std::min<std::size_t>(length, reader.remaining()));
        if (lzw.feed(piece, placer) != LzwDecoder::State::Decoding) break;
    }
    return lzw.state() != LzwDecoder::State::Broken;
}

}  // namespace

std::optional<Picture> decodeGif(ByteView data) {
    ByteReader reader(data);
    const std::optional<Screen> screen = readScreen(data, reader);
    // The picture is drawn as a raster of the logical screen size, so that
    // size must be drawable too: an empty screen is refused like a huge one.
    if (!screen || !isAcceptedPictureSize(screen->width, screen->height)) return std::nullopt;
    if (!findFirstImage(reader)) return std::nullopt;
    const std::optional<ImageDescriptor> image = readImageDescriptor(reader);
    // An image of no pixels has nothing to decode into: refused as well.
    if (!image || !isAcceptedPictureSize(image->width, image->height)) return std::nullopt;

    indexed_block::Layout layout;
    layout.width = image->width;
    layout.height = image->height;
    layout.rowLength = (std::uint32_t(image->width) + 3) & ~std::uint32_t(3);
    layout.planes = 1;
    layout.coloursUsed = 256;
    Bytes block = indexed_block::create(layout);
    if (block.empty()) return std::nullopt;

    // A local table wins over the global one.
    storeColourTable(image->localColourTable.empty() ? screen->colourTable : image->localColourTable, block);
    if (!decodeImageData(reader, block, image->interlaced)) return std::nullopt;

    Picture picture;
    picture.kind = PictureKind::Gif;
    picture.width = screen->width;
    picture.height = screen->height;
    picture.pixels = std::move(block);
    return picture;
}
