#include "imaging/picture_rows.h"

#include <algorithm>
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
// 1/255, truncated and limited to 0..255.
class CompositedBgraRows : public RowSource {
public:
    CompositedBgraRows(const Picture& picture, std::uint32_t background) : picture_(picture) {
        background_[0] = static_cast<float>((background >> 16) & 0xFF);  // blue
        background_[1] = static_cast<float>((background >> 8) & 0xFF);   // green
        background_[2] = static_cast<float>(background & 0xFF);          // red
    }
    std::int32_t width() const override { return picture_.width; }
    std::int32_t height() const override { return picture_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::uint8_t* p = picture_.pixels.data() + (static_cast<std::size_t>(y) * picture_.width + from) * 4;
        for (std::int32_t x = 0; x < count; ++x, p += 4) {
            out[x] = p[3] == 255 ? pixelFromBgr(p[0], p[1], p[2])
                                 : pixelFromBgr(blend(p[0], p[3], 0), blend(p[1], p[3], 1), blend(p[2], p[3], 2));
        }
    }

private:
    std::uint8_t blend(std::uint8_t channel, std::uint8_t alpha, int which) const {
        const float a = static_cast<float>(alpha) * (1.0f / 255.0f);
        const float value = static_cast<float>(channel) * a + background_[which] * (1.0f - a);
        return static_cast<std::uint8_t>(std::clamp(std::trunc(value), 0.0f, 255.0f));
    }

    const Picture& picture_;
    float background_[3] = {};
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
