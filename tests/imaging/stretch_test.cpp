#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "imaging/display.h"
#include "imaging/stretch.h"

namespace {

Raster rasterOf(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels) {
    Raster raster = *Raster::create(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) raster.row(y)[x] = pixels[static_cast<std::size_t>(y * width + x)];
    }
    return raster;
}

std::vector<std::uint32_t> pixelsOf(const Raster& raster) {
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < raster.height(); ++y) {
        pixels.insert(pixels.end(), raster.row(y), raster.row(y) + raster.width());
    }
    return pixels;
}

Raster randomRaster(std::int32_t width, std::int32_t height, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (auto& p : pixels) p = random() & 0x00FFFFFF;
    return rasterOf(width, height, pixels);
}

TEST(Stretch, SameSizeCopiesExactly) {
    const Raster source = randomRaster(37, 23, 1);
    for (auto quality : {StretchQuality::Smooth, StretchQuality::Nearest}) {
        Raster target = *Raster::create(37, 23);
        stretchDraw(RasterRows(source), target, 0, 0, 37, 23, quality);
        EXPECT_EQ(pixelsOf(target), pixelsOf(source));
    }
}

TEST(Stretch, SmoothingAveragesTheCoveredArea) {
    // 3 x 1 to 2 x 1: each target pixel covers one and a half source pixels.
    const Raster source = rasterOf(3, 1, {0x000000, 0x000090, 0x0000F0});
    Raster target = *Raster::create(2, 1);
    stretchDraw(RasterRows(source), target, 0, 0, 2, 1, StretchQuality::Smooth);
    EXPECT_EQ(target.pixel(0, 0), 0x000030u);  // (0 + 0x90 / 2) / 1.5
    EXPECT_EQ(target.pixel(1, 0), 0x0000D0u);  // (0x90 / 2 + 0xF0) / 1.5
}

TEST(Stretch, NearestRepeatsAndDropsWholePixels) {
    const Raster source = rasterOf(4, 1, {1, 2, 3, 4});
    Raster halved = *Raster::create(2, 1);
    stretchDraw(RasterRows(source), halved, 0, 0, 2, 1, StretchQuality::Nearest);
    EXPECT_EQ(pixelsOf(halved), (std::vector<std::uint32_t>{2, 4}));
    Raster doubled = *Raster::create(8, 1);
    stretchDraw(RasterRows(source), doubled, 0, 0, 8, 1, StretchQuality::Nearest);
    EXPECT_EQ(pixelsOf(doubled), (std::vector<std::uint32_t>{1, 1, 2, 2, 3, 3, 4, 4}));
}

TEST(Stretch, ShrinkingKeepsTheMean) {
    const Raster source = randomRaster(300, 200, 7);
    const auto mean = [](const Raster& raster, int shift) {
        double sum = 0;
        for (std::uint32_t p : pixelsOf(raster)) sum += (p >> shift) & 0xFF;
        return sum / (raster.width() * raster.height());
    };
    for (auto size : {std::pair{42, 42}, std::pair{299, 7}, std::pair{1, 1}}) {
        const Raster target = *stretchToSize(RasterRows(source), size.first, size.second, StretchQuality::Smooth);
        for (int shift : {0, 8, 16}) EXPECT_NEAR(mean(target, shift), mean(source, shift), 1.0);
    }
}

// The covered-area mean of one channel, integrated in floating point.
double areaMean(const Raster& source, int shift, double x0, double x1, double y0, double y1) {
    double sum = 0;
    for (int y = static_cast<int>(y0); y < y1; ++y) {
        const double height = std::min<double>(y + 1, y1) - std::max<double>(y, y0);
        for (int x = static_cast<int>(x0); x < x1; ++x) {
            const double width = std::min<double>(x + 1, x1) - std::max<double>(x, x0);
            sum += width * height * ((source.pixel(x, y) >> shift) & 0xFF);
        }
    }
    return sum / ((x1 - x0) * (y1 - y0));
}

TEST(Stretch, SmoothingRoundsTheExactAreaMean) {
    const Raster source = randomRaster(64, 48, 3);
    for (auto size : {std::pair{42, 42}, std::pair{100, 77}, std::pair{5, 48}}) {
        const Raster target = *stretchToSize(RasterRows(source), size.first, size.second, StretchQuality::Smooth);
        const double sx = 64.0 / size.first;
        const double sy = 48.0 / size.second;
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x) {
                for (int shift : {0, 8, 16}) {
                    const double expected = areaMean(source, shift, x * sx, (x + 1) * sx, y * sy, (y + 1) * sy);
                    const double actual = (target.pixel(x, y) >> shift) & 0xFF;
                    ASSERT_LE(std::abs(actual - expected), 0.5 + 1e-9) << x << "," << y << " to " << size.first;
                }
            }
        }
    }
}

TEST(Stretch, NegativeSizesMirrorIntoTheAreaBefore) {
    const Raster source = rasterOf(2, 2, {1, 2, 3, 4});
    Raster target = *Raster::create(4, 4);
    stretchDraw(RasterRows(source), target, 2, 2, -2, -2, StretchQuality::Smooth);
    EXPECT_EQ(pixelsOf(target), (std::vector<std::uint32_t>{4, 3, 0, 0, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(Stretch, ClipsToTheTargetAndDrawsNothingAtSizeZero) {
    const Raster source = rasterOf(2, 2, {1, 2, 3, 4});
    Raster target = *Raster::create(3, 3);
    stretchDraw(RasterRows(source), target, 2, -1, 2, 2, StretchQuality::Nearest);
    EXPECT_EQ(pixelsOf(target), (std::vector<std::uint32_t>{0, 0, 3, 0, 0, 0, 0, 0, 0}));
    stretchDraw(RasterRows(source), target, 0, 0, 0, 3, StretchQuality::Nearest);
    stretchDraw(RasterRows(source), target, 5, 5, 2, 2, StretchQuality::Nearest);
    EXPECT_EQ(target.pixel(2, 0), 3u);
    EXPECT_EQ(target.pixel(0, 0), 0u);
}

TEST(Stretch, CombinesWithTheTargetByRasterOp) {
    const Raster source = rasterOf(1, 1, {0x00F0F00F});
    const struct {
        RasterOp op;
        std::uint32_t expected;
    } cases[] = {
        {RasterOp::Copy, 0x00F0F00F},         {RasterOp::InvertedCopy, 0x000F0FF0},
        {RasterOp::Xor, 0x00F00F0F ^ 0x00F0F00F}, {RasterOp::Or, 0x00F0FF0F},
        {RasterOp::And, 0x00F0000F},
    };
    for (const auto& c : cases) {
        Raster target = rasterOf(1, 1, {0x00F00F0F});
        stretchDraw(RasterRows(source), target, 0, 0, 1, 1, StretchQuality::Smooth, c.op);
        EXPECT_EQ(target.pixel(0, 0), c.expected) << static_cast<int>(c.op);
    }
}

TEST(StretchQuality, FollowsTheDisplayDepth) {
    EXPECT_EQ(stretchQuality(), StretchQuality::Smooth);
    setDisplayQueries({[] { return 16; }, nullptr});
    EXPECT_EQ(stretchQuality(), StretchQuality::Nearest);
    setDisplayQueries({[] { return 24; }, nullptr});
    EXPECT_EQ(stretchQuality(), StretchQuality::Smooth);
    setDisplayQueries({});
}

}  // namespace
