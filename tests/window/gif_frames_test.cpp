#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/decoders/decoders.h"
#include "support/gif_pcx_files.h"
#include "window/gif_frames.h"

namespace {

using gif_pcx_files::ByteVector;
using gif_pcx_files::FrameControl;
using gif_pcx_files::GifImage;
using gif_pcx_files::GifWriter;
using gif_pcx_files::imageAt;
using gif_pcx_files::solidImage;
using gif_pcx_files::viewOf;
using namespace gif_pcx_files::primary;

constexpr std::uint32_t grey = 0x808080;  // the surface before any frame

// The frames read point into the file's bytes, so every test keeps its
// file for as long as its frames.
std::optional<GifAnimation> read(const ByteVector& file) { return readGifFrames(viewOf(file)); }
std::optional<GifAnimation> read(const ByteVector&& file) = delete;  // the frames would outlive the bytes

std::size_t frameCount(const ByteVector& file) {
    const auto animation = read(file);
    return animation ? animation->frames.size() : 0;
}

Raster greySurface(std::int32_t width, std::int32_t height) {
    Raster surface = *Raster::create(width, height);
    surface.fill(grey);
    return surface;
}

std::vector<std::uint32_t> pixelsOf(const Raster& raster) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < raster.height(); ++y) {
        pixels.insert(pixels.end(), raster.row(y), raster.row(y) + raster.width());
    }
    return pixels;
}

using Pixels = std::vector<std::uint32_t>;

TEST(GifFrames, ReadsEachFramesPlaceTimingAndTable) {
    GifImage second = imageAt(3, 1, 2, 2, {0, 1, 2, 3});
    second.localTable = {{1, 2, 3}, {4, 5, 6}};
    second.interlaced = true;
    const ByteVector file = GifWriter(8, 6, colourTable)
                                .application()
                                .frameControl({1, 25, std::nullopt})
                                .image(solidImage(8, 6, 0))
                                .comment("between frames")
                                .frameControl({3, 7, 2})
                                .image(second)
                                .image(imageAt(5, 4, 1, 1, {1}))
                                .trailer()
                                .bytes();
    const auto animation = read(file);
    ASSERT_TRUE(animation);
    EXPECT_EQ(animation->width, 8);
    EXPECT_EQ(animation->height, 6);
    ASSERT_EQ(animation->frames.size(), 3u);

    const GifFrame& first = animation->frames[0];
    EXPECT_EQ(first.delay, 25);
    EXPECT_FALSE(first.transparentIndex);
    EXPECT_EQ(first.disposal, GifDisposal::Keep);
    EXPECT_EQ(first.colourTable.size, 4u * 3);

    const GifFrame& middle = animation->frames[1];
    EXPECT_EQ(middle.left, 3);
    EXPECT_EQ(middle.top, 1);
    EXPECT_EQ(middle.width, 2);
    EXPECT_EQ(middle.height, 2);
    EXPECT_TRUE(middle.interlaced);
    EXPECT_EQ(middle.delay, 7);
    EXPECT_EQ(middle.transparentIndex, std::optional<std::uint8_t>(2));
    EXPECT_EQ(middle.disposal, GifDisposal::RestorePrevious);
    ASSERT_EQ(middle.colourTable.size, 2u * 3);
    EXPECT_EQ(middle.colourTable.data[3], 4) << "the local colourTable";

    // A graphic control block speaks for the one image after it only.
    const GifFrame& last = animation->frames[2];
    EXPECT_EQ(last.delay, 0);
    EXPECT_FALSE(last.transparentIndex);
    EXPECT_EQ(last.disposal, GifDisposal::Keep);
    EXPECT_EQ(last.colourTable.data, first.colourTable.data) << "the global colourTable";
}

TEST(GifFrames, MapsTheDisposalMethods) {
    const GifDisposal expected[8] = {GifDisposal::Keep, GifDisposal::Keep, GifDisposal::RestoreBackground,
                                     GifDisposal::RestorePrevious, GifDisposal::Keep, GifDisposal::Keep,
                                     GifDisposal::Keep, GifDisposal::Keep};
    for (std::uint8_t method = 0; method < 8; ++method) {
        SCOPED_TRACE(int(method));
        const ByteVector file =
            GifWriter(1, 1, colourTable).frameControl({method, 0, std::nullopt}).image(solidImage(1, 1, 0)).bytes();
        const auto animation = read(file);
        ASSERT_TRUE(animation);
        EXPECT_EQ(animation->frames[0].disposal, expected[method]);
    }
}

TEST(GifFrames, TakesTheTransparentIndexOnlyWhenFlagged) {
    // Flags, delay (2 bytes), index: the index byte is there either way.
    const ByteVector flaggedFile =
        GifWriter(1, 1, colourTable).extension(0xF9, {{0x01, 0, 0, 3}}).image(solidImage(1, 1, 0)).bytes();
    const ByteVector unflaggedFile =
        GifWriter(1, 1, colourTable).extension(0xF9, {{0x00, 0, 0, 3}}).image(solidImage(1, 1, 0)).bytes();
    const auto flagged = read(flaggedFile);
    const auto unflagged = read(unflaggedFile);
    ASSERT_TRUE(flagged);
    ASSERT_TRUE(unflagged);
    EXPECT_EQ(flagged->frames[0].transparentIndex, std::optional<std::uint8_t>(3));
    EXPECT_FALSE(unflagged->frames[0].transparentIndex);
}

TEST(GifFrames, AFaultAfterTheFirstFrameEndsTheAnimationThere) {
    const GifWriter twoGood = GifWriter(4, 4, colourTable).image(solidImage(4, 4, 0)).image(solidImage(4, 4, 1));
    GifImage brokenCodes = solidImage(4, 4, 0);
    brokenCodes.minimumCodeSize = 2;
    GifImage empty = solidImage(4, 4, 0);
    empty.height = 0;
    const ByteVector whole = GifWriter(twoGood).image(solidImage(4, 4, 2)).trailer().bytes();

    struct Case {
        std::string name;
        ByteVector file;
        std::size_t frames;
    };
    const std::vector<Case> cases = {
        {"a trailer", GifWriter(twoGood).trailer().bytes(), 2},
        {"the end of the data instead of a trailer", twoGood.bytes(), 2},
        {"a broken code stream",
         GifWriter(twoGood)
             .imageWithData(brokenCodes, gif_pcx_files::subBlocks(gif_pcx_files::packCodes({{4, 3}, {7, 3}})))
             .bytes(),
         2},
        {"a minimum code size of 1", GifWriter(twoGood).raw({0x2C, 0, 0, 0, 0, 4, 0, 4, 0, 0, 1, 1, 0, 0}).bytes(),
         2},
        {"an unknown extension", GifWriter(twoGood).extension(0x02, {{1}}).image(solidImage(4, 4, 2)).bytes(), 2},
        {"a stray zero byte", GifWriter(twoGood).raw({0}).image(solidImage(4, 4, 2)).bytes(), 2},
        {"a frame of no pixels", GifWriter(twoGood).image(empty).image(solidImage(4, 4, 2)).bytes(), 2},
        {"a descriptor cut short", GifWriter(twoGood).raw({0x2C, 0, 0, 0}).bytes(), 2},
        {"an extension running past the data", GifWriter(twoGood).raw({0x21, 0xFE, 9, 1}).bytes(), 2},
        // A frame cut inside its data shows what it holds, as the first image would.
        {"a frame cut inside its data", ByteVector(whole.begin(), whole.end() - 4), 3},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(frameCount(test.file), test.frames);
    }
}

// Whatever the still picture's decoder refuses is no animation either, and
// whatever it takes has at least one frame.
TEST(GifFrames, TakesTheFilesTheStillDecoderTakes) {
    GifImage second = imageAt(1, 1, 3, 2, {0, 1, 2, 3, 2, 1});
    second.localTable = colourTable;
    const ByteVector file = GifWriter(4, 3, colourTable)
                                .frameControl({2, 10, 1})
                                .image(imageAt(0, 0, 4, 3, gif_pcx_files::noiseIndices(12, 4, 5)))
                                .frameControl({3, 10, std::nullopt})
                                .image(second)
                                .trailer()
                                .bytes();
    auto agree = [](const ByteVector& bytes) {
        return readGifFrames(viewOf(bytes)).has_value() == decodeGif(viewOf(bytes)).has_value();
    };
    for (std::size_t length = 0; length <= file.size(); ++length) {
        EXPECT_TRUE(agree(ByteVector(file.begin(), file.begin() + length))) << "cut to " << length;
    }
    for (std::size_t offset = 0; offset < file.size(); ++offset) {
        for (const std::uint8_t value : {0x00, 0x01, 0x0B, 0x2C, 0x3B, 0x80, 0xFF}) {
            ByteVector changed = file;
            changed[offset] = value;
            EXPECT_TRUE(agree(changed)) << "byte " << offset << " set to " << int(value);
        }
    }
}

TEST(GifFrames, LimitsTheFrameCount) {
    GifWriter writer(1, 1, colourTable);
    for (std::size_t i = 0; i < maxGifFrames + 1; ++i) writer.image(solidImage(1, 1, 0));
    EXPECT_EQ(frameCount(writer.bytes()), maxGifFrames);
}

TEST(GifFrames, LimitsThePixelsOfAllFramesTogether) {
    // Frames of 2^28 pixels each, whose data ends at once: the first fills
    // the allowance, so the second is not taken.
    const ByteVector endAtOnce = gif_pcx_files::subBlocks(gif_pcx_files::packCodes({{4, 3}, {5, 3}}));
    const GifImage huge = imageAt(0, 0, 16384, 16384, {});
    EXPECT_EQ(frameCount(GifWriter(1, 1, colourTable).imageWithData(huge, endAtOnce).bytes()), 1u);
    EXPECT_EQ(frameCount(
                  GifWriter(1, 1, colourTable).imageWithData(huge, endAtOnce).imageWithData(huge, endAtOnce).bytes()),
              1u);
    EXPECT_EQ(frameCount(
                  GifWriter(1, 1, colourTable).image(solidImage(1, 1, 0)).imageWithData(huge, endAtOnce).bytes()),
              1u);
}

TEST(GifFramesDrawing, DrawsAFrameAtItsPlaceThroughItsTable) {
    // Index 4 lies beyond the 4-entry colourTable.
    const ByteVector file = GifWriter(4, 3, colourTable).image(imageAt(1, 1, 3, 1, {2, 4, 3})).bytes();
    const auto animation = read(file);
    ASSERT_TRUE(animation);
    Raster surface = greySurface(4, 3);
    drawGifFrame(animation->frames[0], surface);
    EXPECT_EQ(pixelsOf(surface), (Pixels{grey, grey, grey, grey,  //
                                         grey, blue, 0, white,    //
                                         grey, grey, grey, grey}));
}

TEST(GifFramesDrawing, CutsOffWhatLiesBeyondTheScreen) {
    const ByteVector file = GifWriter(3, 2, colourTable).image(imageAt(2, 1, 3, 2, {0, 1, 2, 3, 0, 1})).bytes();
    const auto animation = read(file);
    ASSERT_TRUE(animation);
    Raster surface = greySurface(3, 2);
    drawGifFrame(animation->frames[0], surface);
    EXPECT_EQ(pixelsOf(surface), (Pixels{grey, grey, grey, grey, grey, red}));

    const ByteVector outsideFile = GifWriter(3, 2, colourTable).image(imageAt(60000, 3, 2, 2, {0, 1, 2, 3})).bytes();
    const auto outside = read(outsideFile);
    ASSERT_TRUE(outside);
    drawGifFrame(outside->frames[0], surface);
    EXPECT_EQ(pixelsOf(surface), (Pixels{grey, grey, grey, grey, grey, red}));
}

TEST(GifFramesDrawing, LeavesTransparentAndUnreachedPixelsAsTheyWere) {
    // The data holds 4 of the 6 pixels; index 1 is transparent.
    const ByteVector file =
        GifWriter(3, 2, colourTable).frameControl({0, 0, 1}).image(imageAt(0, 0, 3, 2, {0, 1, 2, 1})).bytes();
    const auto animation = read(file);
    ASSERT_TRUE(animation);
    Raster surface = greySurface(3, 2);
    drawGifFrame(animation->frames[0], surface);
    EXPECT_EQ(pixelsOf(surface), (Pixels{red, grey, blue, grey, grey, grey}));
}

TEST(GifFramesDrawing, InterlacedAndPlainFramesDrawAlike) {
    for (const std::uint16_t height : {1, 2, 3, 5, 8, 9, 13}) {
        SCOPED_TRACE(height);
        GifImage image = imageAt(1, 0, 3, height, gif_pcx_files::noiseIndices(3u * height, 4, height));
        const ByteVector plainFile = GifWriter(4, height, colourTable).image(image).bytes();
        image.interlaced = true;
        const ByteVector interlacedFile = GifWriter(4, height, colourTable).image(image).bytes();
        const auto plain = read(plainFile);
        const auto interlaced = read(interlacedFile);
        ASSERT_TRUE(plain);
        ASSERT_TRUE(interlaced);
        Raster plainSurface = greySurface(4, height);
        Raster interlacedSurface = greySurface(4, height);
        drawGifFrame(plain->frames[0], plainSurface);
        drawGifFrame(interlaced->frames[0], interlacedSurface);
        EXPECT_EQ(pixelsOf(plainSurface), pixelsOf(interlacedSurface));
        EXPECT_EQ(plainSurface.pixel(1, height - 1), (Pixels{red, green, blue, white}[image.indices[3 * (height - 1)]]));
    }
}

}  // namespace
