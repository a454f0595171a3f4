#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "app/working_state.h"
#include "imaging/canvas.h"
#include "imaging/display.h"
#include "imaging/resize.h"
#include "imaging/picture.h"
#include "imaging/render_picture.h"
#include "support/bmp_icon_files.h"
#include "support/jpeg_png_files.h"
#include "support/picture_reading.h"

namespace {

using picture_reading::bitmapPixel;
using picture_reading::field32;

namespace fs = std::filesystem;
using bmp_icon_files::BmpDescription;

constexpr std::uint32_t buttonFace = 0x00C0D0E0;  // 0x00BBGGRR: red E0, green D0, blue C0

class ResizeToSquare : public testing::Test {
protected:
    void SetUp() override {
        setDisplayQueries({nullptr, [] { return buttonFace; }});
        folder_ = fs::temp_directory_path() / ("squarepic-resize-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        setDisplayQueries({});
        releaseWorkingState();
        fs::remove_all(folder_);
    }

    // Writes a file and gives its path as a text.
    Text fileOf(const char* name, const bmp_icon_files::FileBytes& bytes) {
        const fs::path path = folder_ / name;
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return Text::copyOf(path.string());
    }

    fs::path folder_;
};

TEST_F(ResizeToSquare, WithoutAPictureGivesTheBackgroundColour) {
    resizeToSquare(Text(), 10);
    const Bytes& square = outputImage();
    ASSERT_EQ(square.size(), 374u);
    for (std::int32_t y = 0; y < 10; ++y) {
        for (std::int32_t x = 0; x < 10; ++x) ASSERT_EQ(bitmapPixel(square.data(), x, y), 0xE0D0C0u);
        EXPECT_EQ(square.data()[54 + 32 * y + 30], 0);  // the two padding bytes of each row
        EXPECT_EQ(square.data()[54 + 32 * y + 31], 0);
    }
}

TEST_F(ResizeToSquare, KeepsAPictureOfTheSameSizeExactly) {
    BmpDescription description;
    description.width = description.height = 100;
    description.pixels = bmp_icon_files::colourPattern(100, 100);
    resizeToSquare(fileOf("source.bmp", bmp_icon_files::writeBmp(description)), 100);
    const Bytes& square = outputImage();
    ASSERT_EQ(square.size(), 54u + 300u * 100u);
    for (std::int32_t y = 0; y < 100; ++y) {
        for (std::int32_t x = 0; x < 100; ++x) {
            ASSERT_EQ(bitmapPixel(square.data(), x, y), description.pixels[y * 100 + x] & 0xFFFFFF) << x << "," << y;
        }
    }
}

TEST_F(ResizeToSquare, StartsEveryResizeFromACleanSurface) {
    BmpDescription description;
    description.width = description.height = 4;
    description.pixels.assign(16, 0x00102030);
    resizeToSquare(fileOf("dark.bmp", bmp_icon_files::writeBmp(description)), 20);
    EXPECT_EQ(bitmapPixel(outputImage().data(), 0, 0), 0x102030u);
    resizeToSquare(fileOf("words.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'}), 30);
    for (std::int32_t y = 0; y < 30; y += 7) {
        for (std::int32_t x = 0; x < 30; x += 7) EXPECT_EQ(bitmapPixel(outputImage().data(), x, y), 0xE0D0C0u);
    }
}

TEST_F(ResizeToSquare, HandlesEdgeLengthsAtAndBeyondTheLimits) {
    const struct {
        std::int32_t edge;
        std::size_t bytes;
    } cases[] = {
        {0, 58},       // a 1 x 1 surface captured as it is
        {-20, 0},      // 20 percent of one pixel: nothing
        {-50, 58},     // half a pixel rounds up to one
        {-150, 70},    // 2 x 2: rows of 6 bytes padded to 8
        {40000, 0},    // larger than any bitmap file image
        {420, 529254},
    };
    for (const auto& c : cases) {
        resizeToSquare(Text(), c.edge);
        EXPECT_EQ(outputImage().size(), c.bytes) << c.edge;
    }
    EXPECT_EQ(workCanvas().width(), 420);
}

// The square as loading the picture whole and drawing it makes it.
Bytes squareOfLoadedPicture(const Text& path, std::int32_t edge) {
    WorkCanvas canvas(edge, edge);
    canvas.clear();
    const PictureHandle handle = loadPicture(path);
    canvas.drawPicture(handle, 0, 0, edge, edge);
    releasePicture(handle);
    return canvas.capture(edge, edge);
}

TEST_F(ResizeToSquare, DrawsAJpegWhileDecodingItExactlyAsTheLoadedPicture) {
    using jpeg_png_files::JpegColours;
    struct Case {
        const char* name;
        JpegColours colours;
        bool progressive;
        std::size_t cutTo;  // 0: the whole file
    };
    const Case cases[] = {
        {"colour.jpg", JpegColours::Ycc, false, 0},   {"progressive.jpg", JpegColours::Ycc, true, 0},
        {"grey.jpg", JpegColours::Grey, false, 0},    {"cmyk.jpg", JpegColours::Cmyk, false, 0},
        {"cut.jpg", JpegColours::Ycc, false, 900},    {"cut-progressive.jpg", JpegColours::Ycc, true, 900},
    };
    for (const Case& c : cases) {
        jpeg_png_files::JpegDescription description;
        description.width = 97;
        description.height = 61;
        description.colours = c.colours;
        description.progressive = c.progressive;
        jpeg_png_files::FileBytes file = jpeg_png_files::writeJpeg(description);
        if (c.cutTo != 0) file.resize(c.cutTo);
        const Text path = fileOf(c.name, file);
        for (std::int32_t edge : {40, 97, 150}) {
            EXPECT_TRUE(resizeToSquare(path, edge)) << c.name;
            const Bytes expected = squareOfLoadedPicture(path, edge);
            ASSERT_EQ(outputImage().size(), expected.size()) << c.name;
            EXPECT_EQ(std::memcmp(outputImage().data(), expected.data(), expected.size()), 0) << c.name << " " << edge;
        }
    }
}

TEST_F(ResizeToSquare, GivesAPlainSquareForAJpegThatCannotBeDecoded) {
    const Text path = fileOf("broken.jpg", {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0xFF, 0xFF, 0x12, 0x34, 0x56});
    EXPECT_FALSE(resizeToSquare(path, 12));
    for (std::int32_t y = 0; y < 12; y += 5) {
        for (std::int32_t x = 0; x < 12; x += 5) EXPECT_EQ(bitmapPixel(outputImage().data(), x, y), 0xE0D0C0u);
    }
}

TEST(WorkCanvas, LimitsItsSizeAndKeepsTheOldSurfaceTopLeft) {
    WorkCanvas canvas(2, 2);
    canvas.setSize(-5, 40000);
    EXPECT_EQ(canvas.width(), 0);
    EXPECT_EQ(canvas.height(), 32627);
    canvas.setSize(3, 1);
    const Raster* surface = canvas.surface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->width(), 3);
    EXPECT_EQ(surface->height(), 1);
}

TEST(WorkCanvas, CapturesPercentagesOfItsSurface) {
    WorkCanvas canvas(200, 100);
    const Bytes half = canvas.capture(-50, -5);  // 50 percent, and at least 10 percent
    EXPECT_EQ(field32(half.data(), 18), 100);
    EXPECT_EQ(field32(half.data(), 22), 10);
    EXPECT_TRUE(canvas.capture(-1, 0).size() > 0);  // 10 percent of 200
    EXPECT_EQ(canvas.capture(0, -4).size(), 54u + 600u * 10u);
}

}  // namespace
