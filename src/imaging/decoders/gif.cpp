// GIF: the first image of the file, in an 8-bit bitmap block at the image's
// own size; the picture itself takes the logical screen size.

#include <algorithm>
#include <cstring>

#include "imaging/byte_reader.h"
#include "imaging/decoders/decoders.h"
#include "imaging/decoders/gif_structure.h"
#include "imaging/indexed_block.h"
#include "imaging/limits.h"

namespace {

// Nothing of an extension plays a part in the picture: transparency and
// delays included.
bool skipExtension(ByteReader& reader) {
    const std::optional<std::size_t> headerSize = gif::extensionHeaderSize(reader.u8());
    if (!headerSize || !reader.ok()) return false;
    reader.skip(*headerSize);
    return gif::skipSubBlocks(reader);
}

// Walks the blocks up to the first image separator; false when the data
// holds no image before its trailer or end, or is malformed before it.
bool findFirstImage(ByteReader& reader) {
    for (;;) {
        const std::uint8_t introducer = reader.u8();
        if (!reader.ok()) return false;
        if (introducer == gif::imageSeparator) return true;
        if (introducer != gif::extensionIntroducer || !skipExtension(reader)) return false;
    }
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

// Places decoded indices row by row, in the image's row order, and drops
// whatever comes after the last row.
class PixelPlacer final : public LzwSink {
public:
    PixelPlacer(Bytes& block, bool interlaced)
        : rows_(indexed_block::row(block, 0)),
          rowLength_(indexed_block::rowLength(block)),
          width_(static_cast<std::size_t>(indexed_block::width(block))),
          order_(indexed_block::height(block), interlaced) {}

    bool take(const std::uint8_t* indices, std::size_t count) override {
        while (count > 0 && !order_.done()) {
            const std::size_t n = std::min(count, width_ - x_);
            std::memcpy(rows_ + static_cast<std::size_t>(order_.row()) * rowLength_ + x_, indices, n);
            indices += n;
            count -= n;
            x_ += n;
            if (x_ == width_) {
                x_ = 0;
                order_.next();
            }
        }
        return !order_.done();
    }

private:
    std::uint8_t* rows_;
    std::size_t rowLength_;
    std::size_t width_;
    gif::RowOrder order_;
    std::size_t x_ = 0;
};

}  // namespace

std::optional<Picture> decodeGif(ByteView data) {
    ByteReader reader(data);
    const std::optional<gif::Screen> screen = gif::readScreen(data, reader);
    // The picture is drawn as a raster of the logical screen size, so that
    // size must be drawable too: an empty screen is refused like a huge one.
    if (!screen || !isAcceptedPictureSize(screen->width, screen->height)) return std::nullopt;
    if (!findFirstImage(reader)) return std::nullopt;
    // The image's place on the screen plays no part: it is drawn at the top left.
    const std::optional<gif::ImageDescriptor> image = gif::readImageDescriptor(reader);
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
    PixelPlacer placer(block, image->interlaced);
    if (!gif::decodeImageData(reader, placer)) return std::nullopt;

    Picture picture;
    picture.kind = PictureKind::Gif;
    picture.width = screen->width;
    picture.height = screen->height;
    picture.pixels = std::move(block);
    return picture;
}
