#include <algorithm>
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/indexed_block.h"
#include "imaging/render_picture.h"

namespace {

Picture pictureOf(PictureKind kind, std::int32_t width, std::int32_t height, const std::vector<std::uint8_t>& bytes) {
    Picture picture;
    picture.kind = kind;
    picture.width = width;
    picture.height = height;
    picture.pixels = Bytes::copyOf({bytes.data(), bytes.size()});
    return picture;
}

// A GIF picture: a logical screen with an image of the given indexes, whose
// palette maps index i to blue i, green 0, red 0x10.
Picture gifOf(std::int32_t screenWidth, std::int32_t screenHeight, std::int32_t imageWidth,
              const std::vector<std::uint8_t>& indexes) {
    const auto imageHeight = static_cast<std::int32_t>(indexes.size()) / imageWidth;
    Picture picture;
    picture.kind = PictureKind::Gif;
    picture.width = screenWidth;
    picture.height = screenHeight;
    picture.pixels = indexed_block::create(
        {imageWidth, imageHeight, static_cast<std::uint32_t>((imageWidth + 3) / 4 * 4), 1, 256});
    for (int i = 0; i < 256; ++i) {
        indexed_block::palette(picture.pixels)[4 * i] = static_cast<std::uint8_t>(i);
        indexed_block::palette(picture.pixels)[4 * i + 2] = 0x10;
    }
    for (std::int32_t y = 0; y < imageHeight; ++y) {
        std::memcpy(indexed_block::row(picture.pixels, y), indexes.data() + y * imageWidth, imageWidth);
    }
    return picture;
}

std::vector<std::uint32_t> draw(const Picture& picture, std::int32_t targetWidth, std::int32_t targetHeight,
                                std::int32_t width = ownSize, std::int32_t height = ownSize,
                                std::uint32_t compositeBackground = 0xFFFFFF) {
    Raster raster = *Raster::create(targetWidth, targetHeight);
    raster.fill(0x00ABCDEF);
    Surface surface{raster, 0x0000FF /* red */, 0xFF0000 /* blue */};
    renderPicture(picture, surface, 0, 0, width, height, RasterOp::Copy, compositeBackground);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(targetWidth) * targetHeight);
    for (std::int32_t y = 0; y < targetHeight; ++y) {
        std::copy_n(raster.row(y), targetWidth, pixels.begin() + static_cast<std::ptrdiff_t>(y) * targetWidth);
    }
    return pixels;
}

using Pixels = std::vector<std::uint32_t>;

TEST(RenderPicture, DrawsBottomUpRowsTheRightWayUp) {
    // Stored bottom row first: blue pixel, then the top row's red pixel.
    const Picture picture = pictureOf(PictureKind::Jpeg, 1, 2, {0xFF, 0, 0, 0, 0, 0xFF});
    EXPECT_EQ(draw(picture, 1, 2), (Pixels{0xFF0000, 0x0000FF}));
}

TEST(RenderPicture, CompositesTransparentPngPixels) {
    const Picture picture = pictureOf(PictureKind::Png, 4, 1,
                                      {
                                          0x00, 0x00, 0xFF, 0,    // red, alpha 0: the background
                                          0x10, 0x20, 0x30, 255,  // opaque: kept
                                          200, 0, 100, 128,       // half: c*a + k*(1-a) in single precision, truncated (green 126.99999 -> 126)
                                          200, 0, 100, 1,
                                      });
    EXPECT_EQ(draw(picture, 4, 1), (Pixels{0xFFFFFF, 0x302010, 0xB17EE3, 0xFEFEFE}));
    EXPECT_EQ(draw(picture, 4, 1, ownSize, ownSize, 0x000000)[0], 0x000000u);
}

TEST(RenderPicture, PutsTheGifImageTopLeftOnBlack) {
    // A 2 x 1 image on a 3 x 2 screen: the rest of the screen is black.
    EXPECT_EQ(draw(gifOf(3, 2, 2, {1, 2}), 3, 2), (Pixels{0x100001, 0x100002, 0, 0, 0, 0}));
    // An image wider than its screen is cut off.
    EXPECT_EQ(draw(gifOf(1, 1, 2, {3, 4}), 2, 1), (Pixels{0x100003, 0xABCDEF}));
}

TEST(RenderPicture, DrawsTwoColourBitsInTheSurfaceColours) {
    // Width 3 in a row of two bytes: 0 bits foreground (red), 1 bits background (blue).
    const Picture picture = pictureOf(PictureKind::Pcx1, 3, 1, {0b01000000, 0});
    EXPECT_EQ(draw(picture, 3, 1), (Pixels{0xFF0000, 0x0000FF, 0xFF0000}));
}

TEST(RenderPicture, TakesOwnSizeForMinusOneAndNothingForZero) {
    const Picture picture = pictureOf(PictureKind::Bmp, 1, 1, {1, 2, 3});
    EXPECT_EQ(draw(picture, 2, 1), (Pixels{0x030201, 0xABCDEF}));
    EXPECT_EQ(draw(picture, 2, 1, 2, 1), (Pixels{0x030201, 0x030201}));
    EXPECT_EQ(draw(picture, 2, 1, 0, 1), (Pixels{0xABCDEF, 0xABCDEF}));
}

}  // namespace
