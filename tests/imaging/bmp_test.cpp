#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/decoders/decoders.h"
#include "support/bmp_icon_files.h"

namespace {

using bmp_icon_files::BmpDescription;
using bmp_icon_files::FileBytes;
using bmp_icon_files::viewOf;

constexpr std::int32_t testWidth = 13;  // odd, so rows end in part bytes and padding at every depth
constexpr std::int32_t testHeight = 3;

// A testWidth x testHeight picture at bitCount, top-down when asked.
BmpDescription describePicture(std::uint16_t bitCount, bool topDown) {
    BmpDescription description;
    description.width = testWidth;
    description.height = topDown ? -testHeight : testHeight;
    description.bitCount = bitCount;
    if (bitCount <= 8) {
        description.palette = bmp_icon_files::distinctPalette(std::size_t(1) << bitCount);
        description.pixels = bmp_icon_files::indexPattern(testWidth, testHeight, 1u << bitCount);
    } else {
        description.pixels = bmp_icon_files::colourPattern(testWidth, testHeight);
        for (std::uint32_t& pixel : description.pixels) pixel = (pixel & 0x00FFFFFF) | 0x5A000000;
    }
    return description;
}

// The Bmp layout of a description's pixels, worked out from its colours:
// blue, green, red, bottom row first, no padding. Indexes beyond the palette
// are black.
std::vector<std::uint8_t> expectedPixels(const BmpDescription& description) {
    const std::int32_t width = std::abs(description.width);
    const std::int32_t height = std::abs(description.height);
    std::vector<std::uint8_t> bytes;
    for (std::int32_t row = height - 1; row >= 0; --row) {
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t value = description.pixels[static_cast<std::size_t>(row * width + x)];
            std::uint32_t colour = value;
            if (description.bitCount <= 8) colour = value < description.palette.size() ? description.palette[value] : 0;
            bytes.push_back(static_cast<std::uint8_t>(colour));
            bytes.push_back(static_cast<std::uint8_t>(colour >> 8));
            bytes.push_back(static_cast<std::uint8_t>(colour >> 16));
        }
    }
    return bytes;
}

std::vector<std::uint8_t> pixelsOf(const Picture& picture) {
    return {picture.pixels.data(), picture.pixels.data() + picture.pixels.size()};
}

struct DepthCase {
    std::uint16_t bitCount;
    bool topDown;
};

class BmpDecoderDepths : public testing::TestWithParam<DepthCase> {};

TEST_P(BmpDecoderDepths, DecodesToBottomUpBlueGreenRed) {
    const BmpDescription description = describePicture(GetParam().bitCount, GetParam().topDown);
    const std::optional<Picture> picture = decodeBmp(viewOf(bmp_icon_files::writeBmp(description)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->kind, PictureKind::Bmp);
    EXPECT_EQ(picture->width, testWidth);
    EXPECT_EQ(picture->height, testHeight);
    EXPECT_EQ(picture->icon, nullptr);
    EXPECT_EQ(pixelsOf(*picture), expectedPixels(description));
}

// Bottom-up and top-down files of one picture must decode to the same bytes:
// both are compared with the same expectation.
INSTANTIATE_TEST_SUITE_P(Bmp, BmpDecoderDepths,
                         testing::Values(DepthCase{1, false}, DepthCase{1, true}, DepthCase{4, false},
                                         DepthCase{4, true}, DepthCase{8, false}, DepthCase{8, true},
                                         DepthCase{24, false}, DepthCase{24, true}, DepthCase{32, false},
                                         DepthCase{32, true}),
                         [](const testing::TestParamInfo<DepthCase>& info) {
                             return std::to_string(info.param.bitCount) + "Bit" +
                                    (info.param.topDown ? "TopDown" : "BottomUp");
                         });

TEST(BmpDecoder, ReadsTheAnnouncedColoursThenSkipsToThePixels) {
    // 16 entries on an 8-bit picture, then 64 filler bytes that would read
    // as 16 more (light grey) entries if the table ran on to the pixels.
    BmpDescription description;
    description.width = 21;
    description.height = 2;
    description.bitCount = 8;
    description.coloursUsedField = 16;
    description.palette = bmp_icon_files::distinctPalette(16);
    description.gapBeforePixels = 64;
    description.pixels = bmp_icon_files::indexPattern(21, 2, 21);  // indexes 16 and up are beyond the table

    const std::optional<Picture> picture = decodeBmp(viewOf(bmp_icon_files::writeBmp(description)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(pixelsOf(*picture), expectedPixels(description));
}

TEST(BmpDecoder, ColoursBeyondTheDepthAreReadButNeverIndexed) {
    // A 1-bit picture announcing 4 colours: all four entries lie before the
    // pixels, but only the first two can be addressed.
    BmpDescription description = describePicture(1, false);
    description.coloursUsedField = 4;
    description.palette = bmp_icon_files::distinctPalette(4);

    const std::optional<Picture> picture = decodeBmp(viewOf(bmp_icon_files::writeBmp(description)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(pixelsOf(*picture), expectedPixels(description));
}

TEST(BmpDecoder, TheLastRowNeedsNoPadding) {
    // A lenient choice: the final padding holds no pixel.
    BmpDescription description = describePicture(24, false);
    description.padLastRow = false;
    const FileBytes file = bmp_icon_files::writeBmp(description);

    const std::optional<Picture> picture = decodeBmp(viewOf(file));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(pixelsOf(*picture), expectedPixels(description));
    // One byte fewer cuts into the last row's pixels.
    EXPECT_FALSE(decodeBmp({file.data(), file.size() - 1}).has_value());
}

struct RefusedCase {
    const char* name;
    std::function<FileBytes()> makeFile;
};

FileBytes withChange(const std::function<void(BmpDescription&)>& change) {
    BmpDescription description = describePicture(8, false);
    change(description);
    return bmp_icon_files::writeBmp(description);
}

// The 8-bit test file without its last missing bytes.
FileBytes cutShort(std::size_t missing) {
    FileBytes file = bmp_icon_files::writeBmp(describePicture(8, false));
    file.resize(file.size() - missing);
    return file;
}

FileBytes firstBytes(std::size_t count) {
    FileBytes file = bmp_icon_files::writeBmp(describePicture(8, false));
    file.resize(count);
    return file;
}

class BmpDecoderRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(BmpDecoderRefuses, YieldsNothing) { EXPECT_FALSE(decodeBmp(viewOf(GetParam().makeFile())).has_value()); }

const RefusedCase refusedCases[] = {
    {"Empty", [] { return FileBytes(); }},
    {"HeaderCutShort", [] { return firstBytes(53); }},
    {"RunLength8", [] { return withChange([](auto& d) { d.compression = 1; }); }},
    {"RunLength4", [] { return withChange([](auto& d) { d.compression = 2; }); }},
    {"BitFields", [] { return withChange([](auto& d) { d.compression = 3; }); }},
    {"SixteenBits", [] { return withChange([](auto& d) { d.bitCount = 16; d.palette.clear(); }); }},
    {"ZeroBits", [] { return withChange([](auto& d) { d.bitCount = 0; }); }},
    {"TwoBits", [] { return withChange([](auto& d) { d.bitCount = 2; }); }},
    {"SixtyFourBits", [] { return withChange([](auto& d) { d.bitCount = 64; d.palette.clear(); }); }},
    {"ZeroWidth", [] { return withChange([](auto& d) { d.width = 0; }); }},
    {"ZeroHeight", [] { return withChange([](auto& d) { d.height = 0; }); }},
    {"MostNegativeWidth", [] { return withChange([](auto& d) { d.width = INT32_MIN; }); }},
    {"MostNegativeHeight", [] { return withChange([](auto& d) { d.height = INT32_MIN; }); }},
    {"MorePixelsThanAllowed", [] { return withChange([](auto& d) { d.width = 16385; d.height = 16384; }); }},
    {"LargerThanItsData", [] { return withChange([](auto& d) { d.width = 16384; d.height = -16384; }); }},
    {"PixelDataOneByteShort", [] { return cutShort(3 + 1); }},  // the last row's padding and one pixel
    {"ColourTableCutShort", [] { return firstBytes(54 + 4 * 255 + 3); }},
    {"PixelOffsetInsideTheColourTable", [] { return withChange([](auto& d) { d.pixelOffsetField = 54 + 4 * 255; }); }},
    {"PixelOffsetBeyondTheFile", [] { return withChange([](auto& d) { d.pixelOffsetField = 0x7FFFFFFF; }); }},
    {"ColourTableBeyondTheFile", [] { return withChange([](auto& d) { d.coloursUsedField = 0xFFFFFFFF; }); }},
    {"TrueColourPixelOffsetInsideTheHeader",
     [] {
         BmpDescription description = describePicture(24, false);
         description.pixelOffsetField = 53;
         return bmp_icon_files::writeBmp(description);
     }},
};

INSTANTIATE_TEST_SUITE_P(Bmp, BmpDecoderRefuses, testing::ValuesIn(refusedCases),
                         [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

}  // namespace
