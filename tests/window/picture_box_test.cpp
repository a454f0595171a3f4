#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/bmp_icon_files.h"
#include "support/call_counter.h"
#include "support/gif_pcx_files.h"
#include "support/jpeg_png_files.h"
#include "window/picture_box.h"

namespace {

using gif_pcx_files::GifImage;
using gif_pcx_files::GifWriter;

constexpr std::uint32_t green = 0x00E080;  // the box's background as a pixel: red 0, green 224, blue 128
constexpr std::int32_t clientSize = PictureBox::clientSize;

// Long enough for any loaded machine: reaching it means the thread is stuck.
constexpr std::chrono::seconds patience{30};

TEST(PictureBoxFit, PlacesAsTheLayoutRuleSays) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        Placement expected;
    };
    const Case cases[] = {
        {420, 420, {0, 0, 418, 418}},   // too large both ways: scaled down
        {100, 50, {159, 184, 100, 50}},  // fits: centred at its own size
        {800, 400, {0, 104, 418, 209}},  // too wide: scaled, then centred in the height it kept
        {418, 418, {0, 0, 418, 418}},    // exactly fits
        {1, 1, {208, 208, 1, 1}},        // halves truncated
        {419, 10, {0, 204, 418, 9}},     // 10 * 418/419 = 9.976 truncated
        {100, 836, {184, 0, 50, 418}},   // too tall: the centring in the kept width grows
        {546, 546, {0, 0, 417, 417}},    // 546 * (418/546) comes out just below 418 and is truncated
        {10000, 1, {0, 208, 417, 0}},    // scaled to less than a pixel high: nothing is drawn
    };
    for (const Case& test : cases) {
        EXPECT_EQ(fitPlacement(clientSize, clientSize, test.width, test.height), test.expected)
            << test.width << " x " << test.height;
    }
}

Raster paintOf(PictureBox& box) {
    Raster client = *Raster::create(clientSize, clientSize);
    box.paint(client);
    return client;
}

// The bounding box of the pixels of colour, and how many there are.
struct Found {
    Placement bounds;
    std::int64_t count = 0;
};

Found find(const Raster& raster, std::uint32_t colour) {
    std::int32_t left = raster.width(), top = raster.height(), right = -1, bottom = -1;
    Found found;
    for (std::int32_t y = 0; y < raster.height(); ++y) {
        for (std::int32_t x = 0; x < raster.width(); ++x) {
            if (raster.pixel(x, y) != colour) continue;
            ++found.count;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    found.bounds = {left, top, right - left + 1, bottom - top + 1};
    return found;
}

// The picture's colour fills exactly place, and the rest is the background.
void expectDrawnAt(const Raster& client, std::uint32_t colour, const Placement& place) {
    const Found picture = find(client, colour);
    EXPECT_EQ(picture.bounds, place);
    EXPECT_EQ(picture.count, std::int64_t(place.width) * place.height);
    EXPECT_EQ(find(client, green).count, std::int64_t(clientSize) * clientSize - picture.count);
}

bmp_icon_files::FileBytes solidBmp(std::int32_t width, std::int32_t height, std::uint32_t colour) {
    bmp_icon_files::BmpDescription bmp;
    bmp.width = width;
    bmp.height = height;
    bmp.pixels.assign(std::size_t(width) * height, colour);
    return bmp_icon_files::writeBmp(bmp);
}

TEST(PictureBox, ShowsTheBackgroundOnlyWithoutAPicture) {
    const std::string text = "Just some words, not a picture at all.\r\n";
    const auto brokenGif = GifWriter(2, 2).comment("no image").trailer().bytes();
    struct Case {
        std::string name;
        ByteView bytes;
    };
    const Case cases[] = {
        {"null", ByteView{}},
        {"length 0", ByteView{reinterpret_cast<const std::uint8_t*>(text.data()), 0}},
        {"a text file", ByteView{reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}},
        {"a GIF without an image", gif_pcx_files::viewOf(brokenGif)},
    };
    const auto bmp = solidBmp(3, 3, 0x0000FF);
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        PictureBox box;
        box.setPicture(bmp_icon_files::viewOf(bmp));  // something shown before goes
        ASSERT_TRUE(box.hasPicture());
        box.setPicture(test.bytes);
        EXPECT_FALSE(box.hasPicture());
        EXPECT_EQ(find(paintOf(box), green).count, std::int64_t(clientSize) * clientSize);
    }
}

TEST(PictureBox, FitsBitmapsIntoTheClientArea) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        Placement place;
    };
    for (const Case& test : {Case{100, 50, {159, 184, 100, 50}}, Case{800, 400, {0, 104, 418, 209}},
                             Case{420, 420, {0, 0, 418, 418}}}) {
        SCOPED_TRACE(std::to_string(test.width) + " x " + std::to_string(test.height));
        PictureBox box;
        const auto bmp = solidBmp(test.width, test.height, 0x00C01030);
        box.setPicture(bmp_icon_files::viewOf(bmp));
        expectDrawnAt(paintOf(box), 0xC01030, test.place);
    }
}

TEST(PictureBox, ShowsThroughThePngsTransparentPixels) {
    // 4 x 2: the left half transparent red, the right half opaque blue.
    jpeg_png_files::PngDescription png;
    png.width = 4;
    png.height = 2;
    png.colours = jpeg_png_files::PngColours::Rgba;
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            const bool opaque = x >= 2;
            png.samples.insert(png.samples.end(), {std::uint16_t(opaque ? 0 : 255), 0, std::uint16_t(opaque ? 255 : 0),
                                                   std::uint16_t(opaque ? 255 : 0)});
        }
    }
    const auto file = jpeg_png_files::writePng(png);
    PictureBox box;
    box.setPicture(jpeg_png_files::viewOf(file));
    const Raster client = paintOf(box);
    EXPECT_EQ(find(client, 0x0000FF).bounds, (Placement{209, 208, 2, 2}));
    EXPECT_EQ(find(client, green).count, std::int64_t(clientSize) * clientSize - 4);
}

TEST(PictureBox, DrawsTwoColourPicturesBlackOnWhite) {
    // One row of 8 pixels: 1 bits white, 0 bits black.
    gif_pcx_files::PcxFile pcx;
    pcx.version = 3;
    pcx.bitsPerPixel = 1;
    pcx.xMax = 7;
    pcx.bytesPerLine = 2;
    pcx.scanLines = {{0b11110000, 0}};
    const auto file = gif_pcx_files::pcxFile(pcx);
    PictureBox box;
    box.setPicture(gif_pcx_files::viewOf(file));
    const Raster client = paintOf(box);
    EXPECT_EQ(find(client, 0xFFFFFF).bounds, (Placement{205, 208, 4, 1}));
    EXPECT_EQ(find(client, 0x000000).bounds, (Placement{209, 208, 4, 1}));
}

// Index 0 red, 1 blue.
const std::vector<gif_pcx_files::Rgb> redBlue = {{255, 0, 0}, {0, 0, 255}};

GifImage solidFrame(std::uint16_t width, std::uint16_t height, std::uint8_t index) {
    GifImage image;
    image.width = width;
    image.height = height;
    image.indices.assign(std::size_t(width) * height, index);
    return image;
}

TEST(PictureBox, FitsAGifsLogicalScreen) {
    // A blue 836 x 100 screen, scaled by a half to 418 x 50.
    const auto file = GifWriter(836, 100, redBlue).image(solidFrame(836, 100, 1)).trailer().bytes();
    PictureBox box;
    box.setPicture(gif_pcx_files::viewOf(file));
    ASSERT_TRUE(box.hasPicture());
    expectDrawnAt(paintOf(box), 0x0000FF, {0, 184, 418, 50});
}

TEST(PictureBox, PlaysAGifFromItsFirstPaint) {
    // A short red frame, then a blue one that would stay for minutes.
    const auto file = GifWriter(10, 10, redBlue)
                          .frameControl({0, 1, std::nullopt})
                          .image(solidFrame(10, 10, 0))
                          .frameControl({0, 65535, std::nullopt})
                          .image(solidFrame(10, 10, 1))
                          .trailer()
                          .bytes();
    CallCounter repaints;
    PictureBox box;
    box.setRepaintRequest(repaints.callback());
    box.setPicture(gif_pcx_files::viewOf(file));
    EXPECT_EQ(repaints.count(), 1);
    expectDrawnAt(paintOf(box), 0xFF0000, {204, 204, 10, 10});
    ASSERT_TRUE(repaints.waitForAtLeast(2, patience)) << "the second frame never came";
    expectDrawnAt(paintOf(box), 0x0000FF, {204, 204, 10, 10});
    EXPECT_EQ(repaints.count(), 2);
}

// Frames of a hundredth of a second each, so the thread keeps asking.
std::vector<std::uint8_t> quickGif() {
    return GifWriter(2, 2, redBlue)
        .frameControl({0, 1, std::nullopt})
        .image(solidFrame(2, 2, 0))
        .frameControl({0, 1, std::nullopt})
        .image(solidFrame(2, 2, 1))
        .bytes();
}

TEST(PictureBox, ANewPictureStopsTheAnimation) {
    const auto gif = quickGif();
    const auto bmp = solidBmp(5, 5, 0x00ABCDEF);
    CallCounter repaints;
    PictureBox box;
    box.setRepaintRequest(repaints.callback());
    box.setPicture(gif_pcx_files::viewOf(gif));
    paintOf(box);
    ASSERT_TRUE(repaints.waitForAtLeast(4, patience));

    // Once the write returns the thread has ended: only the write's own
    // request follows, however long one waits.
    box.setPicture(bmp_icon_files::viewOf(bmp));
    const int afterWrite = repaints.count();
    EXPECT_FALSE(repaints.waitForAtLeast(afterWrite + 1, std::chrono::milliseconds(300)));
    expectDrawnAt(paintOf(box), 0xABCDEF, {206, 206, 5, 5});
}

TEST(PictureBox, AGifStandsStillUntilPainted) {
    const auto gif = quickGif();
    CallCounter repaints;
    PictureBox box;
    box.setRepaintRequest(repaints.callback());
    box.setPicture(gif_pcx_files::viewOf(gif));
    EXPECT_FALSE(repaints.waitForAtLeast(2, std::chrono::milliseconds(200)));
}

TEST(PictureBox, EndsTheAnimationWhenDestroyed) {
    const auto gif = quickGif();
    CallCounter repaints;
    auto box = std::make_unique<PictureBox>();
    box->setRepaintRequest(repaints.callback());
    box->setPicture(gif_pcx_files::viewOf(gif));
    paintOf(*box);
    ASSERT_TRUE(repaints.waitForAtLeast(3, patience));
    box.reset();
    const int afterDestruction = repaints.count();
    EXPECT_FALSE(repaints.waitForAtLeast(afterDestruction + 1, std::chrono::milliseconds(200)));
}

TEST(PictureBox, AsksForARepaintOnEveryWrite) {
    const auto bmp = solidBmp(2, 2, 0);
    CallCounter repaints;
    PictureBox box;
    box.setRepaintRequest(repaints.callback());
    box.setPicture(bmp_icon_files::viewOf(bmp));
    box.setPicture(ByteView{});
    box.setPicture(bmp_icon_files::viewOf(bmp));
    EXPECT_EQ(repaints.count(), 3);
}

}  // namespace
