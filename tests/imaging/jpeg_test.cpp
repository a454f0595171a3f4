#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/blocks.h"
#include "imaging/decoders/decoders.h"
#include "support/jpeg_png_files.h"

namespace {

using jpeg_png_files::BareJpeg;
using jpeg_png_files::FileBytes;
using jpeg_png_files::JpegColours;
using jpeg_png_files::JpegDescription;
using jpeg_png_files::viewOf;

std::vector<std::uint8_t> pixelsOf(const Picture& picture) {
    return {picture.pixels.data(), picture.pixels.data() + picture.pixels.size()};
}

// One pixel of a bare decode as blue, green, red: colour swapped from red,
// green, blue; grey repeated; Adobe CMYK scaled by black and rounded.
void appendBgr(const std::uint8_t* sample, int channels, std::vector<std::uint8_t>& out) {
    if (channels == 1) {
        out.insert(out.end(), {sample[0], sample[0], sample[0]});
    } else if (channels == 3) {
        out.insert(out.end(), {sample[2], sample[1], sample[0]});
    } else {
        const auto scaled = [&](int ink) { return static_cast<std::uint8_t>((ink * sample[3] + 127) / 255); };
        out.insert(out.end(), {scaled(sample[2]), scaled(sample[1]), scaled(sample[0])});
    }
}

// The Jpeg layout worked out the slow way from a bare decode: each pixel
// made blue, green, red, then the rows turned over.
std::vector<std::uint8_t> jpegLayoutOf(const BareJpeg& bare) {
    std::vector<std::uint8_t> out;
    const std::size_t rowSamples = std::size_t(bare.width) * bare.channels;
    for (std::int32_t row = bare.height - 1; row >= 0; --row) {
        const std::uint8_t* samples = bare.samples.data() + std::size_t(row) * rowSamples;
        for (std::int32_t x = 0; x < bare.width; ++x) {
            appendBgr(samples + std::size_t(x) * bare.channels, bare.channels, out);
        }
    }
    return out;
}

// Decodes with the decoder and bare, and checks they agree byte for byte.
void expectSameAsBareDecode(const FileBytes& file) {
    const std::optional<BareJpeg> bare = jpeg_png_files::decodeJpegBare(viewOf(file));
    ASSERT_TRUE(bare.has_value());
    const std::optional<Picture> picture = decodeJpeg(viewOf(file));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->kind, PictureKind::Jpeg);
    EXPECT_EQ(picture->width, bare->width);
    EXPECT_EQ(picture->height, bare->height);
    EXPECT_EQ(picture->icon, nullptr);
    EXPECT_EQ(pixelsOf(*picture), jpegLayoutOf(*bare));
}

struct JpegCase {
    std::string name;
    JpegDescription description;
};

void PrintTo(const JpegCase& c, std::ostream* out) { *out << c.name; }

JpegDescription describe(JpegColours colours, std::int32_t width, std::int32_t height, bool progressive = false,
                         int lumaHorizontal = 2, int lumaVertical = 2) {
    JpegDescription description;
    description.colours = colours;
    description.width = width;
    description.height = height;
    description.progressive = progressive;
    description.lumaHorizontal = lumaHorizontal;
    description.lumaVertical = lumaVertical;
    return description;
}

class JpegDecoderKinds : public testing::TestWithParam<JpegCase> {};

// The fast path (blue-green-red output written row by row into place) must
// give exactly the bytes of the plain procedure.
TEST_P(JpegDecoderKinds, MatchesBareDecodeReordered) {
    expectSameAsBareDecode(jpeg_png_files::writeJpeg(GetParam().description));
}

// Odd sizes leave part blocks and part sampling groups at the edges; heights
// above 16 make more than one batch of rows.
INSTANTIATE_TEST_SUITE_P(Jpeg, JpegDecoderKinds,
                         testing::Values(JpegCase{"Colour420", describe(JpegColours::Ycc, 37, 23)},
                                         JpegCase{"Colour422", describe(JpegColours::Ycc, 33, 19, false, 2, 1)},
                                         JpegCase{"Colour444", describe(JpegColours::Ycc, 21, 40, false, 1, 1)},
                                         JpegCase{"ColourProgressive", describe(JpegColours::Ycc, 45, 31, true)},
                                         JpegCase{"StoredAsRgb", describe(JpegColours::Rgb, 19, 17)},
                                         JpegCase{"Grey", describe(JpegColours::Grey, 29, 35)},
                                         JpegCase{"GreyProgressive", describe(JpegColours::Grey, 30, 18, true)},
                                         JpegCase{"Cmyk", describe(JpegColours::Cmyk, 25, 22)},
                                         JpegCase{"CmykProgressive", describe(JpegColours::Cmyk, 17, 26, true)},
                                         JpegCase{"Ycck", describe(JpegColours::Ycck, 23, 21)},
                                         JpegCase{"OnePixel", describe(JpegColours::Ycc, 1, 1)},
                                         JpegCase{"OneRowWide", describe(JpegColours::Ycc, 301, 1)},
                                         JpegCase{"OneColumnTall", describe(JpegColours::Ycc, 1, 67)}),
                         [](const testing::TestParamInfo<JpegCase>& info) { return info.param.name; });

TEST(JpegDecoderGrey, GivesThreeEqualChannels) {
    const std::optional<Picture> picture =
        decodeJpeg(viewOf(jpeg_png_files::writeJpeg(describe(JpegColours::Grey, 24, 9))));
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->pixels.size(), std::size_t(24 * 9 * 3));
    const std::uint8_t* pixel = picture->pixels.data();
    for (std::size_t i = 0; i < picture->pixels.size(); i += 3) {
        ASSERT_EQ(pixel[i], pixel[i + 1]) << "pixel " << i / 3;
        ASSERT_EQ(pixel[i], pixel[i + 2]) << "pixel " << i / 3;
    }
}

// Known inks in, known colours out: Adobe stores CMYK inverted, so the
// stored values are how much of each colour remains, scaled by the black.
TEST(JpegDecoderCmyk, ConvertsAdobeInkToColour) {
    struct Case {
        std::uint8_t cyan, magenta, yellow, black;
        std::uint8_t red, green, blue;
    };
    const Case cases[] = {
        {200, 100, 50, 255, 200, 100, 50},
        {200, 100, 50, 128, 100, 50, 25},
        {255, 255, 255, 0, 0, 0, 0},
        {0, 255, 0, 255, 0, 255, 0},
    };
    for (const Case& c : cases) {
        JpegDescription description = describe(JpegColours::Cmyk, 8, 8);
        description.quality = 100;
        for (int i = 0; i < 64; ++i) {
            description.samples.insert(description.samples.end(), {c.cyan, c.magenta, c.yellow, c.black});
        }
        const std::optional<Picture> picture = decodeJpeg(viewOf(jpeg_png_files::writeJpeg(description)));
        ASSERT_TRUE(picture.has_value());
        // A flat block at quality 100 comes back within one step of its inks.
        EXPECT_NEAR(picture->pixels.data()[0], c.blue, 1);
        EXPECT_NEAR(picture->pixels.data()[1], c.green, 1);
        EXPECT_NEAR(picture->pixels.data()[2], c.red, 1);
    }
}

// Scanline 0 is the top row; the Jpeg layout stores it last.
TEST(JpegDecoderLayout, KeepsTheBottomRowFirst) {
    JpegDescription description = describe(JpegColours::Grey, 8, 16);
    description.quality = 100;
    for (int y = 0; y < 16; ++y) description.samples.insert(description.samples.end(), 8, y < 8 ? 0 : 255);
    const std::optional<Picture> picture = decodeJpeg(viewOf(jpeg_png_files::writeJpeg(description)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->pixels.data()[0], 255);                         // bottom row, white
    EXPECT_EQ(picture->pixels.data()[picture->pixels.size() - 1], 0);  // top row, black
}

// A comment longer than a source piece is skipped across several refills.
TEST(JpegDecoderSource, SkipsMarkersLongerThanOnePiece) {
    JpegDescription description = describe(JpegColours::Ycc, 40, 30);
    description.commentLength = 65000;
    expectSameAsBareDecode(jpeg_png_files::writeJpeg(description));
}

struct CutCase {
    std::string name;
    bool progressive;
    double keptFraction;
};

void PrintTo(const CutCase& c, std::ostream* out) { *out << c.name; }

class JpegDecoderTruncated : public testing::TestWithParam<CutCase> {};

// Large enough that the tables take only a small part of the file, so a
// cut falls inside the pixel data.
constexpr std::int32_t cutWidth = 256;
constexpr std::int32_t cutHeight = 192;

// A file that ends early still gives the whole picture: the data present
// decoded, the rest as the library fills it in.
TEST_P(JpegDecoderTruncated, DecodesToFullSize) {
    const FileBytes whole =
        jpeg_png_files::writeJpeg(describe(JpegColours::Ycc, cutWidth, cutHeight, GetParam().progressive));
    const FileBytes cut(whole.begin(),
                        whole.begin() + static_cast<std::ptrdiff_t>(whole.size() * GetParam().keptFraction));
    expectSameAsBareDecode(cut);
    const std::optional<Picture> picture = decodeJpeg(viewOf(cut));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, cutWidth);
    EXPECT_EQ(picture->height, cutHeight);
}

INSTANTIATE_TEST_SUITE_P(Jpeg, JpegDecoderTruncated,
                         testing::Values(CutCase{"BaselineHalf", false, 0.5},
                                         CutCase{"BaselineNinetyPercent", false, 0.9},
                                         CutCase{"ProgressiveHalf", true, 0.5}, CutCase{"ProgressiveFifth", true, 0.2}),
                         [](const testing::TestParamInfo<CutCase>& info) { return info.param.name; });

TEST(JpegDecoderTruncatedRows, KeepTheRowsTheDataHolds) {
    const FileBytes whole = jpeg_png_files::writeJpeg(describe(JpegColours::Ycc, cutWidth, cutHeight));
    const FileBytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2));
    const std::optional<Picture> complete = decodeJpeg(viewOf(whole));
    const std::optional<Picture> partial = decodeJpeg(viewOf(cut));
    ASSERT_TRUE(complete.has_value());
    ASSERT_TRUE(partial.has_value());
    const std::size_t topRowStart = complete->pixels.size() - cutWidth * 3;  // the top row is stored last
    const std::vector<std::uint8_t> full = pixelsOf(*complete);
    const std::vector<std::uint8_t> half = pixelsOf(*partial);
    EXPECT_EQ(std::vector<std::uint8_t>(half.begin() + topRowStart, half.end()),
              std::vector<std::uint8_t>(full.begin() + topRowStart, full.end()));
}

struct RefusedCase {
    std::string name;
    FileBytes file;
};

void PrintTo(const RefusedCase& c, std::ostream* out) { *out << c.name; }

// Bytes that make no picture fail, and give back every block they took.
class JpegDecoderRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(JpegDecoderRefuses, FailsCleanly) {
    const std::int64_t blocksBefore = liveBlockCount();
    EXPECT_FALSE(decodeJpeg(viewOf(GetParam().file)).has_value());
    EXPECT_EQ(liveBlockCount(), blocksBefore);
}

FileBytes garbageAfterStart(std::uint32_t seed, std::size_t length) {
    FileBytes bytes = {0xFF, 0xD8};
    for (std::size_t i = 0; i < length; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes.push_back(static_cast<std::uint8_t>(seed >> 16));
    }
    return bytes;
}

FileBytes withSize(std::uint16_t width, std::uint16_t height) {
    FileBytes file = jpeg_png_files::writeJpeg(describe(JpegColours::Ycc, 16, 16));
    jpeg_png_files::setJpegSize(file, width, height);
    return file;
}

FileBytes headersOnly() {
    const FileBytes whole = jpeg_png_files::writeJpeg(describe(JpegColours::Ycc, 16, 16));
    return FileBytes(whole.begin(), whole.begin() + 100);  // inside the tables, before any frame
}

// The many-scan file of the known progressive exploit: the last scan of a
// good file repeated a thousand times.
FileBytes thousandScans() {
    return jpeg_png_files::repeatLastScan(jpeg_png_files::writeJpeg(describe(JpegColours::Ycc, 64, 64, true)), 1000);
}

INSTANTIATE_TEST_SUITE_P(
    Jpeg, JpegDecoderRefuses,
    testing::Values(RefusedCase{"Empty", FileBytes{}}, RefusedCase{"StartMarkerOnly", FileBytes{0xFF, 0xD8}},
                    RefusedCase{"GarbageAfterStart", garbageAfterStart(1, 3000)},
                    RefusedCase{"OtherGarbageAfterStart", garbageAfterStart(77, 50)},
                    RefusedCase{"HeadersOnly", headersOnly()}, RefusedCase{"ZeroWidth", withSize(0, 16)},
                    RefusedCase{"OverPixelLimit", withSize(16385, 16384)},
                    RefusedCase{"LargestFrame", withSize(65500, 65500)},
                    RefusedCase{"BeyondLibraryLimit", withSize(65535, 2)},
                    RefusedCase{"TwoChannels", jpeg_png_files::writeJpeg(describe(JpegColours::Pair, 8, 8))},
                    RefusedCase{"ThousandScans", thousandScans()}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// Repeated scans below the limit are only a warning to the library: the
// file still decodes, exactly as a bare decode gives it.
TEST(JpegDecoderScans, DecodesAModestNumberOfRepeatedScans) {
    expectSameAsBareDecode(
        jpeg_png_files::repeatLastScan(jpeg_png_files::writeJpeg(describe(JpegColours::Ycc, 64, 64, true)), 40));
}

}  // namespace
