#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "support/call_counter.h"
#include "support/gif_pcx_files.h"
#include "window/gif_player.h"

namespace {

using gif_pcx_files::ByteVector;
using gif_pcx_files::FrameControl;
using gif_pcx_files::GifImage;
using gif_pcx_files::GifWriter;
using gif_pcx_files::imageAt;
using gif_pcx_files::solidImage;
using gif_pcx_files::viewOf;
using namespace gif_pcx_files::primary;

constexpr std::uint32_t backgroundColour = 0x00123456;  // 0x00BBGGRR
constexpr std::uint32_t background = 0x563412;         // the same as a pixel

// Long enough for any loaded machine: reaching it means the thread is stuck.
constexpr std::chrono::seconds patience{30};
constexpr std::uint16_t forAges = 65535;  // the longest delay, some 11 minutes

std::vector<std::uint32_t> pixelsOf(const Raster& raster) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < raster.height(); ++y) {
        pixels.insert(pixels.end(), raster.row(y), raster.row(y) + raster.width());
    }
    return pixels;
}

using Pixels = std::vector<std::uint32_t>;

// Composes the frames of file in order, from the first, count draws in all
// (going round again after the last), and gives the surface.
Pixels composed(const ByteVector& file, std::size_t count) {
    const auto animation = readGifFrames(viewOf(file));
    if (!animation) return {};
    auto composition = GifComposition::create(*animation, backgroundColour);
    if (!composition) return {};
    for (std::size_t i = 0; i < count; ++i) composition->draw(animation->frames[i % animation->frames.size()]);
    return pixelsOf(composition->surface());
}

// A red 4 x 1 screen, then a two-pixel frame at x 1 with the given disposal
// and a green and a white pixel (white transparent when asked), then a
// one-pixel blue frame at x 3, which triggers that disposal.
ByteVector disposalFile(std::uint8_t disposal, bool whiteTransparent) {
    const std::optional<std::uint8_t> transparent =
        whiteTransparent ? std::optional<std::uint8_t>(3) : std::nullopt;
    return GifWriter(4, 1, colourTable)
        .image(solidImage(4, 1, 0))
        .frameControl({disposal, 0, transparent})
        .image(imageAt(1, 0, 2, 1, {1, 3}))
        .image(imageAt(3, 0, 1, 1, {2}))
        .bytes();
}

TEST(GifComposition, StartsAsTheBackground) {
    const ByteVector file = GifWriter(2, 2, colourTable).image(solidImage(1, 1, 0)).bytes();
    const auto animation = readGifFrames(viewOf(file));
    ASSERT_TRUE(animation);
    const auto composition = GifComposition::create(*animation, backgroundColour);
    ASSERT_TRUE(composition);
    EXPECT_EQ(pixelsOf(composition->surface()), Pixels(4, background));
}

TEST(GifComposition, DisposesOfTheFrameBeforeAsItAsks) {
    struct Case {
        std::string name;
        std::uint8_t disposal;
        bool whiteTransparent;
        Pixels afterSecond;
        Pixels afterThird;
    };
    const std::vector<Case> cases = {
        {"none given: kept", 0, false, {red, green, white, red}, {red, green, white, blue}},
        {"kept", 1, false, {red, green, white, red}, {red, green, white, blue}},
        {"background", 2, false, {red, green, white, red}, {red, background, background, blue}},
        {"previous", 3, false, {red, green, white, red}, {red, red, red, blue}},
        {"undefined 4: kept", 4, false, {red, green, white, red}, {red, green, white, blue}},
        {"kept, transparent", 1, true, {red, green, red, red}, {red, green, red, blue}},
        {"background, transparent", 2, true, {red, green, red, red}, {red, background, background, blue}},
        {"previous, transparent", 3, true, {red, green, red, red}, {red, red, red, blue}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const ByteVector file = disposalFile(test.disposal, test.whiteTransparent);
        EXPECT_EQ(composed(file, 2), test.afterSecond);
        EXPECT_EQ(composed(file, 3), test.afterThird);
    }
}

TEST(GifComposition, PutsBackWhatWasThereBeforeTheFrame) {
    // Restoring the previous state must give back the second frame's green,
    // not the first frame's red or the background.
    const ByteVector file = GifWriter(3, 1, colourTable)
                                .image(solidImage(3, 1, 0))
                                .image(imageAt(0, 0, 2, 1, {1, 1}))
                                .frameControl({3, 0, std::nullopt})
                                .image(imageAt(1, 0, 2, 1, {2, 3}))
                                .image(imageAt(0, 0, 1, 1, {3}))
                                .bytes();
    EXPECT_EQ(composed(file, 3), (Pixels{green, blue, white}));
    EXPECT_EQ(composed(file, 4), (Pixels{white, green, red}));
}

TEST(GifComposition, CutsDisposedAreasToTheScreen) {
    // Frames that reach past the right and bottom edges, or lie wholly
    // outside, dispose of only what the screen shows.
    for (const std::uint8_t disposal : {2, 3}) {
        SCOPED_TRACE(int(disposal));
        const ByteVector file = GifWriter(3, 2, colourTable)
                                    .image(solidImage(3, 2, 0))
                                    .frameControl({disposal, 0, std::nullopt})
                                    .image(imageAt(2, 1, 4, 3, ByteVector(12, 1)))
                                    .frameControl({disposal, 0, std::nullopt})
                                    .image(imageAt(9, 9, 2, 2, ByteVector(4, 1)))
                                    .image(imageAt(0, 0, 1, 1, {2}))
                                    .bytes();
        const std::uint32_t restored = disposal == 2 ? background : red;
        EXPECT_EQ(composed(file, 2), (Pixels{red, red, red, red, red, green}));
        EXPECT_EQ(composed(file, 4), (Pixels{blue, red, red, red, red, restored}));
    }
}

TEST(GifComposition, PutsNothingBackForAFrameBeyondTheScreen) {
    // The only frame that asks to be put back lies right of the screen, at
    // rows the screen has: there is nothing of it to keep.
    const ByteVector file = GifWriter(3, 2, colourTable)
                                .image(solidImage(3, 2, 0))
                                .frameControl({3, 0, std::nullopt})
                                .image(imageAt(3, 0, 2, 2, ByteVector(4, 1)))
                                .image(imageAt(0, 1, 1, 1, {2}))
                                .bytes();
    EXPECT_EQ(composed(file, 3), (Pixels{red, red, red, blue, red, red}));
}

TEST(GifComposition, GoesOnFromTheLastFrameToTheFirst) {
    // The last frame's disposal applies before the first frame comes again;
    // nothing else is cleared.
    const ByteVector file = GifWriter(2, 1, colourTable)
                                .image(imageAt(0, 0, 1, 1, {0}))
                                .frameControl({2, 0, std::nullopt})
                                .image(imageAt(1, 0, 1, 1, {1}))
                                .bytes();
    EXPECT_EQ(composed(file, 2), (Pixels{red, green}));
    EXPECT_EQ(composed(file, 3), (Pixels{red, background}));

    const ByteVector kept = GifWriter(2, 1, colourTable)
                                .image(imageAt(0, 0, 1, 1, {0}))
                                .image(imageAt(1, 0, 1, 1, {1}))
                                .image(imageAt(0, 0, 1, 1, {2}))
                                .bytes();
    EXPECT_EQ(composed(kept, 4), (Pixels{red, green}));
}

TEST(GifPlayerTiming, FrameDurations) {
    struct Case {
        std::uint16_t delay;
        std::chrono::milliseconds duration;
    };
    for (const Case& test : {Case{0, std::chrono::milliseconds(50)}, Case{1, std::chrono::milliseconds(10)},
                             Case{7, std::chrono::milliseconds(70)},
                             Case{65535, std::chrono::milliseconds(655350)}}) {
        GifFrame frame;
        frame.delay = test.delay;
        EXPECT_EQ(frameDuration(frame), test.duration) << test.delay;
    }
}

Bytes bytesOf(const ByteVector& file) { return Bytes::copyOf(viewOf(file)); }

Pixels surfaceOf(GifPlayer& player) {
    Raster raster = *Raster::create(player.width(), player.height());
    player.drawSurface(raster, 0, 0, player.width(), player.height(), StretchQuality::Nearest);
    return pixelsOf(raster);
}

TEST(GifPlayer, ShowsTheFirstFrameFromTheStart) {
    CallCounter frames;
    const ByteVector file =
        GifWriter(2, 1, colourTable).image(imageAt(1, 0, 1, 1, {2})).image(solidImage(2, 1, 1)).trailer().bytes();
    const auto player = GifPlayer::create(bytesOf(file), backgroundColour, frames.callback());
    ASSERT_TRUE(player);
    EXPECT_EQ(player->width(), 2);
    EXPECT_EQ(player->height(), 1);
    EXPECT_EQ(player->frameCount(), 2u);
    EXPECT_EQ(surfaceOf(*player), (Pixels{background, blue}));
    EXPECT_EQ(frames.count(), 0);
}

TEST(GifPlayer, AnimatesOnceStartedAndStopsForGood) {
    // A short first frame, then a second one that would stay for minutes.
    CallCounter frames;
    const ByteVector file = GifWriter(1, 1, colourTable)
                                .frameControl({0, 1, std::nullopt})
                                .image(solidImage(1, 1, 0))
                                .frameControl({0, forAges, std::nullopt})
                                .image(solidImage(1, 1, 2))
                                .trailer()
                                .bytes();
    const auto player = GifPlayer::create(bytesOf(file), backgroundColour, frames.callback());
    ASSERT_TRUE(player);
    EXPECT_FALSE(player->isAnimating());
    player->start();
    EXPECT_TRUE(player->isAnimating());
    ASSERT_TRUE(frames.waitForAtLeast(1, patience));
    EXPECT_EQ(surfaceOf(*player), (Pixels{blue}));

    // Stopping wakes the thread from its long wait and joins it.
    player->stop();
    EXPECT_FALSE(player->isAnimating());
    player->start();
    EXPECT_FALSE(player->isAnimating()) << "a stopped player stays stopped";
    EXPECT_EQ(frames.count(), 1);
}

TEST(GifPlayer, ShowsOneFrameStillWithoutAThread) {
    CallCounter frames;
    const ByteVector file = GifWriter(1, 1, colourTable).frameControl({2, 1, std::nullopt}).image(solidImage(1, 1, 3)).bytes();
    const auto player = GifPlayer::create(bytesOf(file), backgroundColour, frames.callback());
    ASSERT_TRUE(player);
    player->start();
    EXPECT_FALSE(player->isAnimating());
    EXPECT_EQ(surfaceOf(*player), (Pixels{white}));
}

TEST(GifPlayer, EndsItsThreadWhenDestroyed) {
    // Quick frames that keep the thread busy; the player goes while it runs.
    CallCounter frames;
    const ByteVector file = GifWriter(1, 1, colourTable)
                                .frameControl({2, 1, std::nullopt})
                                .image(solidImage(1, 1, 0))
                                .frameControl({3, 1, std::nullopt})
                                .image(solidImage(1, 1, 1))
                                .bytes();
    auto player = GifPlayer::create(bytesOf(file), backgroundColour, frames.callback());
    ASSERT_TRUE(player);
    player->start();
    ASSERT_TRUE(frames.waitForAtLeast(3, patience));
    player.reset();
    const int drawn = frames.count();
    EXPECT_FALSE(frames.waitForAtLeast(drawn + 1, std::chrono::milliseconds(200)));
}

TEST(GifPlayer, RefusesWhatHoldsNoFrame) {
    const ByteVector noImage = GifWriter(2, 2, colourTable).comment("no image").trailer().bytes();
    const ByteVector notGif = {'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_FALSE(GifPlayer::create(bytesOf(noImage), backgroundColour, nullptr));
    EXPECT_FALSE(GifPlayer::create(bytesOf(notGif), backgroundColour, nullptr));
    EXPECT_FALSE(GifPlayer::create(Bytes(), backgroundColour, nullptr));
}

}  // namespace
