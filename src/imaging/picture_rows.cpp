#include "imaging/picture_rows.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "imaging/indexed_block.h"
#include "imaging/raster.h"

namespace {

// Jpeg and Bmp: blue, green, red; packed rows; the bottom row first.
class BottomUpBgrRows : public RowSource {
public:
    explicit BottomUpBgrRows(const Picture& picture) : picture_(picture) {}
    std::int32_t width() const override { return picture_.width; }
    std::int32_t height() const override { return picture_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::uint8_t* p = rowInPlace(y).bytes + 3 * static_cast<std::size_t>(from);
        for (std::int32_t x = 0; x < count; ++x, p += 3) out[x] = pixelFromBgr(p[0], p[1], p[2]);
    }
    PixelRow rowInPlace(std::int32_t y) const override {
        const std::size_t rowBytes = 3 * static_cast<std::size_t>(picture_.width);
        return {picture_.pixels.data() + static_cast<std::size_t>(picture_.height - 1 - y) * rowBytes, 3};
    }

private:
    const Picture& picture_;
};

// Png: blue, green, red, straight alpha; top row first. A pixel that is not
// fully opaque is composited onto the background in single precision: each
// channel c becomes c * a + k * (1 - a) with a = A times the float nearest
// 1/255, truncated and limited to 0..255. The results for every alpha below
// 255 and every channel value are worked out once a drawing, by that very
// formula, and looked up for each pixel.
class CompositedBgraRows : public RowSource {
public:
    CompositedBgraRows(const Picture& picture, std::uint32_t background) : picture_(picture) {
        fillTable(blue_, (background >> 16) & 0xFF);
        fillTable(green_, (background >> 8) & 0xFF);
        fillTable(red_, background & 0xFF);
    }
    std::int32_t width() const override { return picture_.width; }
    std::int32_t height() const override { return picture_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::uint8_t* p = picture_.pixels.data() + (static_cast<std::size_t>(y) * picture_.width + from) * 4;
        for (std::int32_t x = 0; x < count; ++x, p += 4) {
            const std::size_t alpha = p[3];
            out[x] = alpha == 255 ? pixelFromBgr(p[0], p[1], p[2])
                                  : pixelFromBgr(blue_[alpha][p[0]], green_[alpha][p[1]], red_[alpha][p[2]]);
        }
    }

private:
    // table[A][c]: channel value c of alpha A composited onto background value k.
    using BlendTable = std::array<std::array<std::uint8_t, 256>, 255>;

    static void fillTable(BlendTable& table, std::uint32_t k) {
        const float background = static_cast<float>(k);
        for (std::size_t alpha = 0; alpha < table.size(); ++alpha) {
            const float a = static_cast<float>(alpha) * (1.0f / 255.0f);
            for (std::size_t c = 0; c < 256; ++c) {
                const float value = static_cast<float>(c) * a + background * (1.0f - a);
                table[alpha][c] = static_cast<std::uint8_t>(std::clamp(std::trunc(value), 0.0f, 255.0f));
            }
        }
    }

    const Picture& picture_;
    BlendTable blue_;
    BlendTable green_;
    BlendTable red_;
};

std::uint32_t paletteEntry(const std::uint8_t* palette, std::uint8_t index) {
    const std::uint8_t* entry = palette + 4 * index;
    return pixelFromBgr(entry[0], entry[1], entry[2]);
}

// Gif and Pcx8: the 8-bit bitmap block, drawn through its palette on a
// picture-sized raster; a GIF image smaller than its logical screen leaves
// the rest black, a larger one is cut off.
class IndexedRows : public RowSource {
public:
    explicit IndexedRows(const Picture& picture) : picture_(picture) {
        const std::uint8_t* palette = indexed_block::palette(picture.pixels);
        for (int i = 0; i < 256; ++i) colours_[i] = paletteEntry(palette, static_cast<std::uint8_t>(i));
    }
    std::int32_t width() const override { return picture_.width; }
    std::int32_t height() const override { return picture_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::int32_t imageWidth = indexed_block::width(picture_.pixels);
        const std::int32_t imageHeight = indexed_block::height(picture_.pixels);
        // Columns [from, imageEnd) lie on the image; the rest is black.
        const std::int32_t imageEnd = y < imageHeight ? std::min(imageWidth, from + count) : from;
        const std::int32_t covered = std::max(0, imageEnd - from);
        if (covered > 0) {
            const std::uint8_t* indexes = indexed_block::row(picture_.pixels, y) + from;
            for (std::int32_t x = 0; x < covered; ++x) out[x] = colours_[indexes[x]];
        }
        std::fill(out + covered, out + count, 0u);
    }

private:
    const Picture& picture_;
    std::uint32_t colours_[256] = {};
};

// Pcx1: one bit a pixel, the high bit leftmost, rows of even byte length.
class TwoColourRows : public RowSource {
public:
    TwoColourRows(const Picture& picture, std::uint32_t foreground, std::uint32_t background)
        : picture_(picture), colours_{pixelFromColour(foreground), pixelFromColour(background)} {}
    std::int32_t width() const override { return picture_.width; }
    std::int32_t height() const override { return picture_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::size_t rowBytes = static_cast<std::size_t>((picture_.width + 15) / 16) * 2;
        const std::uint8_t* bits = picture_.pixels.data() + static_cast<std::size_t>(y) * rowBytes;
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t x = from + i;
            out[i] = colours_[(bits[x >> 3] >> (7 - (x & 7))) & 1];
        }
    }

private:
    const Picture& picture_;
    std::uint32_t colours_[2];
};

}  // namespace

std::unique_ptr<RowSource> pictureRows(const Picture& picture, std::uint32_t compositeBackground,
                                       std::uint32_t foreground, std::uint32_t background) {
    if (picture.pixels.empty()) return nullptr;
    switch (picture.kind) {
    case PictureKind::Jpeg:
    case PictureKind::Bmp: return std::make_unique<BottomUpBgrRows>(picture);
    case PictureKind::Png: return std::make_unique<CompositedBgraRows>(picture, compositeBackground);
    case PictureKind::Gif:
    case PictureKind::Pcx8: return std::make_unique<IndexedRows>(picture);
    case PictureKind::Pcx1: return std::make_unique<TwoColourRows>(picture, foreground, background);
    case PictureKind::Icon:
    case PictureKind::Cursor:
    case PictureKind::None: break;
    }
    return nullptr;
}
