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

using jpeg_png_files::FileBytes;
using jpeg_png_files::PngColours;
using jpeg_png_files::PngDescription;
using jpeg_png_files::viewOf;

std::vector<std::uint8_t> pixelsOf(const Picture& picture) {
    return {picture.pixels.data(), picture.pixels.data() + picture.pixels.size()};
}

// A sample of up to 8 bits widened to 8 bits, as PNG defines it.
std::uint8_t widen(std::uint16_t sample, int bitDepth) {
    return static_cast<std::uint8_t>(sample * 255 / ((1 << bitDepth) - 1));
}

std::vector<std::uint8_t> colourOf(const PngDescription& description, const std::uint16_t* sample) {
    const auto at = [&](int i) { return widen(sample[i], description.bitDepth); };
    switch (description.colours) {
    case PngColours::Grey: return {at(0), at(0), at(0), 0xFF};
    case PngColours::GreyAlpha: return {at(0), at(0), at(0), at(1)};
    case PngColours::Rgb: return {at(2), at(1), at(0), 0xFF};
    case PngColours::Rgba: return {at(2), at(1), at(0), at(3)};
    case PngColours::Palette: {
        const std::uint32_t entry = description.palette[sample[0]];
        return {static_cast<std::uint8_t>(entry), static_cast<std::uint8_t>(entry >> 8),
                static_cast<std::uint8_t>(entry >> 16), static_cast<std::uint8_t>(entry >> 24)};
    }
    }
    return {};
}

// The Png layout of a description of at most 8 bits a sample, worked out
// from its samples: blue, green, red, straight alpha, top row first.
std::vector<std::uint8_t> expectedPixels(const PngDescription& description) {
    const int channels = jpeg_png_files::pngChannels(description.colours);
    const std::size_t count = std::size_t(description.width) * description.height;
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::vector<std::uint8_t> pixel = colourOf(description, description.samples.data() + i * channels);
        out.insert(out.end(), pixel.begin(), pixel.end());
    }
    return out;
}

// count entries, each a different colour and alpha.
std::vector<std::uint32_t> paletteOf(std::size_t count, bool translucent) {
    std::vector<std::uint32_t> palette;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint32_t alpha = translucent ? (i * 97) & 0xFF : 0xFF;
        palette.push_back(alpha << 24 | (i * 67 & 0xFF) << 16 | (255 - i) << 8 | (i * 13 & 0xFF));
    }
    return palette;
}

struct PngCase {
    std::string name;
    PngColours colours;
    int bitDepth;
    bool interlaced;
    bool translucentPalette;
};

void PrintTo(const PngCase& c, std::ostream* out) { *out << c.name; }

PngDescription describe(const PngCase& c) {
    PngDescription description;
    description.width = 13;  // odd, so packed rows end in part bytes
    description.height = 11;
    description.colours = c.colours;
    description.bitDepth = c.bitDepth;
    description.interlaced = c.interlaced;
    const int channels = jpeg_png_files::pngChannels(c.colours);
    description.samples = jpeg_png_files::patternSamples(description.width, description.height, channels, c.bitDepth);
    if (c.colours == PngColours::Palette) {
        description.palette = paletteOf(std::size_t(1) << c.bitDepth, c.translucentPalette);
    }
    return description;
}

class PngDecoderKinds : public testing::TestWithParam<PngCase> {};

TEST_P(PngDecoderKinds, DecodesToBlueGreenRedStraightAlpha) {
    const PngDescription description = describe(GetParam());
    const std::optional<Picture> picture = decodePng(viewOf(jpeg_png_files::writePng(description)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->kind, PictureKind::Png);
    EXPECT_EQ(picture->width, 13);
    EXPECT_EQ(picture->height, 11);
    EXPECT_EQ(picture->icon, nullptr);
    EXPECT_EQ(pixelsOf(*picture), expectedPixels(description));
}

INSTANTIATE_TEST_SUITE_P(Png, PngDecoderKinds,
                         testing::Values(PngCase{"Grey1", PngColours::Grey, 1, false, false},
                                         PngCase{"Grey2", PngColours::Grey, 2, false, false},
                                         PngCase{"Grey4", PngColours::Grey, 4, false, false},
                                         PngCase{"Grey8", PngColours::Grey, 8, false, false},
                                         PngCase{"GreyAlpha", PngColours::GreyAlpha, 8, false, false},
                                         PngCase{"Rgb", PngColours::Rgb, 8, false, false},
                                         PngCase{"Rgba", PngColours::Rgba, 8, false, false},
                                         PngCase{"RgbaInterlaced", PngColours::Rgba, 8, true, false},
                                         PngCase{"Palette1", PngColours::Palette, 1, false, false},
                                         PngCase{"Palette4", PngColours::Palette, 4, false, false},
                                         PngCase{"Palette8", PngColours::Palette, 8, false, false},
                                         PngCase{"PaletteTranslucent", PngColours::Palette, 8, false, true},
                                         PngCase{"PaletteInterlaced", PngColours::Palette, 4, true, true}),
                         [](const testing::TestParamInfo<PngCase>& info) { return info.param.name; });

// 16-bit samples are the library's to convert (it reads them as linear
// light); the decoder must hand on exactly what a bare read gives, with
// the ends of the range kept.
TEST(PngDecoderSixteenBit, MatchesBareReadAndKeepsTheEnds) {
    for (PngColours colours : {PngColours::Grey, PngColours::Rgb, PngColours::Rgba}) {
        PngDescription description;
        description.width = 5;
        description.height = 3;
        description.colours = colours;
        description.bitDepth = 16;
        const int channels = jpeg_png_files::pngChannels(colours);
        description.samples = jpeg_png_files::patternSamples(5, 3, channels, 16);
        for (int c = 0; c < channels; ++c) {
            description.samples[static_cast<std::size_t>(c)] = 0;
            description.samples[static_cast<std::size_t>(channels + c)] = 0xFFFF;
        }
        const FileBytes file = jpeg_png_files::writePng(description);
        const std::optional<Picture> picture = decodePng(viewOf(file));
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(pixelsOf(*picture), jpeg_png_files::decodePngBare(viewOf(file)));
        const std::uint8_t* pixels = picture->pixels.data();
        EXPECT_EQ(pixels[0], 0);
        EXPECT_EQ(pixels[4], 255);
        if (colours == PngColours::Rgba) {
            EXPECT_EQ(pixels[3], 0);  // alpha 0
            EXPECT_EQ(pixels[7], 255);
        }
    }
}

// Alpha is not multiplied into the colour: a transparent or half
// transparent pixel keeps its full colour beside its alpha.
TEST(PngDecoderAlpha, StaysStraight) {
    PngDescription description;
    description.width = 3;
    description.height = 1;
    description.colours = PngColours::Rgba;
    description.samples = {200, 100, 50, 0, 200, 100, 50, 128, 200, 100, 50, 255};
    const std::optional<Picture> picture = decodePng(viewOf(jpeg_png_files::writePng(description)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(pixelsOf(*picture), (std::vector<std::uint8_t>{50, 100, 200, 0, 50, 100, 200, 128, 50, 100, 200, 255}));
}

FileBytes smallPng() { return jpeg_png_files::writePng(describe({"", PngColours::Rgba, 8, false, false})); }

FileBytes signatureOnly() {
    const FileBytes file = smallPng();
    return FileBytes(file.begin(), file.begin() + 8);
}

FileBytes withBadCrc(const std::string& chunkType) {
    FileBytes file = chunkType == "tRNS" ? jpeg_png_files::writePng(describe({"", PngColours::Palette, 4, false, true}))
                                         : smallPng();
    const jpeg_png_files::PngChunk chunk = jpeg_png_files::firstChunk(file, chunkType);
    file[chunk.offset + 8 + chunk.length] ^= 0x5A;  // first byte of the CRC
    return file;
}

FileBytes cutInsideImageData() {
    const FileBytes file = smallPng();
    const jpeg_png_files::PngChunk data = jpeg_png_files::firstChunk(file, "IDAT");
    return FileBytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(data.offset + 8 + data.length / 2));
}

FileBytes withoutEnd() {
    const FileBytes file = smallPng();
    return FileBytes(file.begin(),
                     file.begin() + static_cast<std::ptrdiff_t>(jpeg_png_files::firstChunk(file, "IEND").offset));
}

FileBytes withSize(std::uint32_t width, std::uint32_t height) {
    FileBytes file = smallPng();
    jpeg_png_files::setPngSize(file, width, height);
    return file;
}

// What libpng's simplified reader makes of damaged files, pinned down: each
// case either decodes or fails, never crashes, and leaves no block behind.
struct DamageCase {
    std::string name;
    FileBytes file;
    bool decodes;
};

void PrintTo(const DamageCase& c, std::ostream* out) { *out << c.name; }

class PngDecoderDamaged : public testing::TestWithParam<DamageCase> {};

TEST_P(PngDecoderDamaged, DecodesOrFailsAsTheLibrarySays) {
    const std::int64_t blocksBefore = liveBlockCount();
    EXPECT_EQ(decodePng(viewOf(GetParam().file)).has_value(), GetParam().decodes);
    EXPECT_EQ(liveBlockCount(), blocksBefore);
}

INSTANTIATE_TEST_SUITE_P(Png, PngDecoderDamaged,
                         testing::Values(DamageCase{"Empty", {}, false},
                                         DamageCase{"SignatureOnly", signatureOnly(), false},
                                         DamageCase{"HeaderCrc", withBadCrc("IHDR"), false},
                                         DamageCase{"ImageDataCrc", withBadCrc("IDAT"), false},
                                         DamageCase{"TransparencyCrc", withBadCrc("tRNS"), true},
                                         DamageCase{"CutInsideImageData", cutInsideImageData(), false},
                                         DamageCase{"NoEndChunk", withoutEnd(), true},
                                         DamageCase{"ZeroWidth", withSize(0, 11), false},
                                         DamageCase{"OverPixelLimit", withSize(16385, 16384), false},
                                         DamageCase{"HugeBoth", withSize(0x7FFFFFFF, 0x7FFFFFFF), false}),
                         [](const testing::TestParamInfo<DamageCase>& info) { return info.param.name; });

// libpng drops an ancillary chunk whose CRC is wrong and reads on: a
// palette picture whose transparency chunk is damaged comes out opaque.
TEST(PngDecoderDamagedChunks, DropsTransparencyWithABadCrc) {
    const std::optional<Picture> picture = decodePng(viewOf(withBadCrc("tRNS")));
    ASSERT_TRUE(picture.has_value());
    for (std::size_t alpha = 3; alpha < picture->pixels.size(); alpha += 4) {
        ASSERT_EQ(picture->pixels.data()[alpha], 255) << "pixel " << alpha / 4;
    }
}

// A well-formed picture one row beyond the pixel limit, which the library
// would read without complaint, is refused by its size alone.
TEST(PngDecoderLimits, RefusesAValidPictureOverThePixelLimit) {
    const FileBytes file = jpeg_png_files::writeBlackPng(16384, 16385);
    EXPECT_FALSE(decodePng(viewOf(file)).has_value());
}

}  // namespace
