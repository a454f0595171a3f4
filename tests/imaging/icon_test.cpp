#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "imaging/decoders/decoders.h"
#include "imaging/icon_drawing.h"
#include "imaging/raster.h"
#include "support/bmp_icon_files.h"
#include "support/jpeg_png_files.h"

namespace {

using bmp_icon_files::FileBytes;
using bmp_icon_files::IconEntryDescription;
using bmp_icon_files::IconFileDescription;
using bmp_icon_files::IconImageDescription;
using bmp_icon_files::viewOf;

FileBytes singleImageFile(const IconImageDescription& image, std::uint16_t type = 1) {
    IconFileDescription file;
    file.type = type;
    file.entries.push_back({image, {}, {}, {}, {}, {}});
    return bmp_icon_files::writeIconFile(file);
}

bool anyAlpha(const IconImageDescription& image) {
    for (const std::uint32_t pixel : image.pixels) {
        if (pixel >> 24 != 0) return true;
    }
    return false;
}

// The icon object's colour as worked out from a description: blue, green,
// red, alpha, top row first; opaque unless a 32-bit image has real alpha;
// indexes beyond the palette black.
std::vector<std::uint8_t> expectedColour(const IconImageDescription& image) {
    const bool keepAlpha = image.bitCount == 32 && anyAlpha(image);
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t value : image.pixels) {
        std::uint32_t colour = value;
        if (image.bitCount <= 8) colour = value < image.palette.size() ? image.palette[value] : 0;
        bytes.push_back(static_cast<std::uint8_t>(colour));
        bytes.push_back(static_cast<std::uint8_t>(colour >> 8));
        bytes.push_back(static_cast<std::uint8_t>(colour >> 16));
        bytes.push_back(keepAlpha ? static_cast<std::uint8_t>(colour >> 24) : 0xFF);
    }
    return bytes;
}

std::vector<std::uint8_t> bytesOf(const Bytes& bytes) { return {bytes.data(), bytes.data() + bytes.size()}; }

void expectIconOf(const Picture& picture, const IconImageDescription& image) {
    ASSERT_NE(picture.icon, nullptr);
    EXPECT_EQ(picture.width, image.width);
    EXPECT_EQ(picture.height, image.height);
    EXPECT_EQ(picture.icon->width, image.width);
    EXPECT_EQ(picture.icon->height, image.height);
    EXPECT_TRUE(picture.pixels.empty());
    EXPECT_EQ(bytesOf(picture.icon->colour), expectedColour(image));
    EXPECT_EQ(bytesOf(picture.icon->mask), image.mask);
}

class IconDecoderDepths : public testing::TestWithParam<std::uint16_t> {};

TEST_P(IconDecoderDepths, MakesColourAndMaskTopRowFirst) {
    // 5 wide: every depth's rows end in a part byte or padding, and so do the mask's.
    const IconImageDescription image = bmp_icon_files::patternedIconImage(5, 3, GetParam());
    const std::optional<Picture> picture = decodeIconFile(viewOf(singleImageFile(image)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->kind, PictureKind::Icon);
    expectIconOf(*picture, image);
    EXPECT_EQ(picture->icon->hasAlpha, GetParam() == 32);
}

INSTANTIATE_TEST_SUITE_P(Icon, IconDecoderDepths, testing::Values(1, 4, 8, 24, 32),
                         [](const testing::TestParamInfo<std::uint16_t>& info) {
                             return std::to_string(info.param) + "Bit";
                         });

TEST(IconDecoder, ThirtyTwoBitsWithoutAlphaLeaveItToTheMask) {
    IconImageDescription image = bmp_icon_files::patternedIconImage(4, 2, 32);
    for (std::uint32_t& pixel : image.pixels) pixel &= 0x00FFFFFF;
    std::optional<Picture> picture = decodeIconFile(viewOf(singleImageFile(image)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_FALSE(picture->icon->hasAlpha);
    expectIconOf(*picture, image);

    image.pixels[5] |= 0x01000000;  // one alpha byte is enough
    picture = decodeIconFile(viewOf(singleImageFile(image)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_TRUE(picture->icon->hasAlpha);
    expectIconOf(*picture, image);
}

TEST(IconDecoder, IndexesBeyondTheColourTableAreBlack) {
    IconImageDescription image = bmp_icon_files::patternedIconImage(7, 2, 4);
    image.coloursUsedField = 3;
    image.palette = bmp_icon_files::distinctPalette(3);
    const std::optional<Picture> picture = decodeIconFile(viewOf(singleImageFile(image)));
    ASSERT_TRUE(picture.has_value());
    expectIconOf(*picture, image);
}

TEST(IconDecoder, ALongerBitmapHeaderPutsTheColourTableAfterIt) {
    IconImageDescription image = bmp_icon_files::patternedIconImage(6, 4, 8);
    image.headerSize = 108;
    const std::optional<Picture> picture = decodeIconFile(viewOf(singleImageFile(image)));
    ASSERT_TRUE(picture.has_value());
    expectIconOf(*picture, image);
}

TEST(IconDecoder, AnOddHeaderHeightIsHalvedTowardZero) {
    IconImageDescription image = bmp_icon_files::patternedIconImage(4, 3, 24);
    image.heightField = 7;
    const std::optional<Picture> picture = decodeIconFile(viewOf(singleImageFile(image)));
    ASSERT_TRUE(picture.has_value());
    expectIconOf(*picture, image);
}

TEST(IconDecoder, TheImageHeaderGivesTheSizeNotTheDirectory) {
    IconFileDescription file;
    file.entries.push_back({bmp_icon_files::patternedIconImage(20, 12, 4), 32, 32, 16, {}, {}});
    const std::optional<Picture> picture = decodeIconFile(viewOf(bmp_icon_files::writeIconFile(file)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, 20);
    EXPECT_EQ(picture->height, 12);
}

TEST(IconDecoder, ACursorFileGivesACursorDrawnLikeAnIcon) {
    const IconImageDescription image = bmp_icon_files::patternedIconImage(6, 6, 4);
    const std::optional<Picture> icon = decodeIconFile(viewOf(singleImageFile(image, 1)));
    const std::optional<Picture> cursor = decodeIconFile(viewOf(singleImageFile(image, 2)));
    ASSERT_TRUE(icon.has_value());
    ASSERT_TRUE(cursor.has_value());
    EXPECT_EQ(icon->kind, PictureKind::Icon);
    EXPECT_EQ(cursor->kind, PictureKind::Cursor);

    std::optional<Raster> iconDrawn = Raster::create(16, 16);
    std::optional<Raster> cursorDrawn = Raster::create(16, 16);
    iconDrawn->fill(0x00A05030);
    cursorDrawn->fill(0x00A05030);
    drawIcon(*icon->icon, *iconDrawn, 2, 3, 11, 9, StretchQuality::Smooth);
    drawIcon(*cursor->icon, *cursorDrawn, 2, 3, 11, 9, StretchQuality::Smooth);
    for (std::int32_t y = 0; y < 16; ++y) {
        for (std::int32_t x = 0; x < 16; ++x) ASSERT_EQ(cursorDrawn->pixel(x, y), iconDrawn->pixel(x, y));
    }
}

// A 5 x 4 PNG whose alpha runs through 0 (first pixel) to 255.
FileBytes smallPng() {
    jpeg_png_files::PngDescription png;
    png.width = 5;
    png.height = 4;
    png.colours = jpeg_png_files::PngColours::Rgba;
    png.samples = jpeg_png_files::patternSamples(5, 4, 4, 8);
    png.samples[3] = 0;
    return jpeg_png_files::writePng(png);
}

TEST(IconDecoder, APngImageGivesItsOwnSizeAndAlpha) {
    const FileBytes png = smallPng();
    IconFileDescription file;
    file.entries.push_back({bmp_icon_files::patternedIconImage(16, 16, 8), {}, {}, {}, {}, {}});
    IconImageDescription pngImage;
    pngImage.png = png;
    // The directory claims 32 x 32 in 16 colours: it is chosen, yet the
    // picture has the PNG's own size.
    file.entries.push_back({pngImage, 32, 32, 16, {}, {}});

    const std::optional<Picture> picture = decodeIconFile(viewOf(bmp_icon_files::writeIconFile(file)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->kind, PictureKind::Icon);
    EXPECT_EQ(picture->width, 5);
    EXPECT_EQ(picture->height, 4);
    ASSERT_NE(picture->icon, nullptr);
    EXPECT_TRUE(picture->icon->hasAlpha);
    const std::optional<std::vector<std::uint8_t>> bare = jpeg_png_files::decodePngBare(jpeg_png_files::viewOf(png));
    ASSERT_TRUE(bare.has_value());
    EXPECT_EQ(bytesOf(picture->icon->colour), *bare);
    std::vector<std::uint8_t> mask(20, 0);
    for (std::size_t i = 0; i < mask.size(); ++i) mask[i] = (*bare)[4 * i + 3] == 0 ? 1 : 0;
    EXPECT_EQ(mask[0], 1);
    EXPECT_EQ(bytesOf(picture->icon->mask), mask);
}

TEST(IconDecoder, ABrokenPngImageFails) {
    FileBytes png = smallPng();
    png.resize(png.size() / 2);
    IconImageDescription pngImage;
    pngImage.png = png;
    EXPECT_FALSE(decodeIconFile(viewOf(singleImageFile(pngImage))).has_value());
}

// Entry choice: each entry is described by its size and depth; the test
// tells the chosen one by its decoded size.
struct EntrySketch {
    std::int32_t width;
    std::int32_t height;
    std::uint16_t bitCount;
    std::optional<std::uint8_t> colourCountByte;
};

struct ChoiceCase {
    const char* name;
    std::vector<EntrySketch> entries;
    std::int32_t chosenWidth;
    std::int32_t chosenHeight;
};

class IconDecoderChoice : public testing::TestWithParam<ChoiceCase> {};

TEST_P(IconDecoderChoice, TakesTheFirst32WideWithSixteenColoursElseTheLast) {
    IconFileDescription file;
    for (const EntrySketch& sketch : GetParam().entries) {
        IconEntryDescription entry{bmp_icon_files::patternedIconImage(sketch.width, sketch.height, sketch.bitCount),
                                   {}, {}, sketch.colourCountByte, {}, {}};
        file.entries.push_back(entry);
    }
    const std::optional<Picture> picture = decodeIconFile(viewOf(bmp_icon_files::writeIconFile(file)));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->width, GetParam().chosenWidth);
    EXPECT_EQ(picture->height, GetParam().chosenHeight);
}

const ChoiceCase choiceCases[] = {
    {"ThirtyTwoWithSixteenColours", {{16, 16, 4, {}}, {32, 32, 4, {}}, {48, 48, 8, {}}}, 32, 32},
    {"OnlyManyColoursTakesTheLast", {{16, 16, 8, {}}, {48, 48, 32, {}}, {24, 24, 24, {}}}, 24, 24},
    {"TwoColoursAreTooFew", {{32, 32, 1, {}}, {16, 16, 4, {}}}, 16, 16},
    {"TheFirstOfTwoQualifying", {{48, 48, 4, {}}, {32, 30, 4, {}}, {32, 32, 4, {}}}, 32, 30},
    {"TheDirectoryCountDecidesNotTheDepth", {{32, 31, 8, 16}, {32, 32, 4, 15}}, 32, 31},
    {"AColourCountOf255Qualifies", {{32, 29, 24, 255}, {64, 64, 32, {}}}, 32, 29},
    {"ASingleEntry", {{40, 40, 32, {}}}, 40, 40},
};

INSTANTIATE_TEST_SUITE_P(Icon, IconDecoderChoice, testing::ValuesIn(choiceCases),
                         [](const testing::TestParamInfo<ChoiceCase>& info) { return info.param.name; });

TEST(IconDecoder, EntriesAfterTheChosenOneNeedNotExist) {
    IconFileDescription file;
    file.entries.push_back({bmp_icon_files::patternedIconImage(32, 32, 4), {}, {}, {}, {}, {}});
    file.countField = 40;  // the directory claims far more entries than the file holds
    EXPECT_TRUE(decodeIconFile(viewOf(bmp_icon_files::writeIconFile(file))).has_value());

    file.entries.front().colourCountByte = 8;  // now the last entry is wanted, and it is missing
    EXPECT_FALSE(decodeIconFile(viewOf(bmp_icon_files::writeIconFile(file))).has_value());
}

struct RefusedCase {
    const char* name;
    std::function<FileBytes()> makeFile;
};

// A one-entry 8-bit icon file, changed before it is written.
FileBytes withChange(const std::function<void(IconFileDescription&)>& change) {
    IconFileDescription file;
    file.entries.push_back({bmp_icon_files::patternedIconImage(6, 4, 8), {}, {}, {}, {}, {}});
    change(file);
    return bmp_icon_files::writeIconFile(file);
}

FileBytes withImageChange(const std::function<void(IconImageDescription&)>& change) {
    return withChange([&](IconFileDescription& file) { change(file.entries.front().image); });
}

FileBytes firstBytes(std::size_t count) {
    FileBytes file = withChange([](IconFileDescription&) {});
    file.resize(count);
    return file;
}

class IconDecoderRefuses : public testing::TestWithParam<RefusedCase> {};

TEST_P(IconDecoderRefuses, YieldsNothing) {
    EXPECT_FALSE(decodeIconFile(viewOf(GetParam().makeFile())).has_value());
}

const RefusedCase refusedCases[] = {
    {"Empty", [] { return FileBytes(); }},
    {"HeaderCutShort", [] { return firstBytes(5); }},
    {"ReservedWordSet", [] { return withChange([](auto& f) { f.reserved = 1; }); }},
    {"TypeZero", [] { return withChange([](auto& f) { f.type = 0; }); }},
    {"TypeThree", [] { return withChange([](auto& f) { f.type = 3; }); }},
    {"NoEntries", [] { return withChange([](auto& f) { f.countField = 0; }); }},
    {"DirectoryCutShort", [] { return firstBytes(6 + 15); }},
    {"ImageCutShort", [] { return firstBytes(6 + 16 + 40 + 1024); }},
    {"ImageOffsetBeyondTheFile", [] { return withChange([](auto& f) { f.entries[0].offsetField = 100000; }); }},
    {"ImageEndOverflows",
     [] {
         return withChange([](auto& f) {
             f.entries[0].offsetField = 22;
             f.entries[0].sizeField = 0xFFFFFFF0;
         });
     }},
    {"ImageSizeBeyondTheFile", [] { return withChange([](auto& f) { f.entries[0].sizeField = 100000; }); }},
    // The file holds the whole image, but its entry says one byte less.
    {"EntrySizeShortOfTheMask",
     [] {
         FileBytes file = withChange([](auto&) {});
         file[6 + 8] -= 1;
         return file;
     }},
    {"EmptyImage", [] { return withChange([](auto& f) { f.entries[0].sizeField = 0; }); }},
    {"HeaderHeightOne", [] { return withImageChange([](auto& i) { i.heightField = 1; }); }},
    {"NegativeHeight", [] { return withImageChange([](auto& i) { i.heightField = -8; }); }},
    {"ZeroWidth", [] { return withImageChange([](auto& i) { i.width = 0; }); }},
    {"NegativeWidth", [] { return withImageChange([](auto& i) { i.width = -6; }); }},
    {"HugeClaimedSize",
     [] {
         return withImageChange([](auto& i) {
             i.width = 16384;
             i.heightField = 2 * 16384;
         });
     }},
    {"BeyondTheLargestPicture",
     [] {
         return withImageChange([](auto& i) {
             i.width = 0x7FFFFFFF;
             i.heightField = 0x7FFFFFFF;
         });
     }},
    {"BitFields", [] { return withImageChange([](auto& i) { i.compression = 3; }); }},
    {"RunLength", [] { return withImageChange([](auto& i) { i.compression = 1; }); }},
    {"SixteenBits", [] { return withImageChange([](auto& i) { i.bitCount = 16; i.palette.clear(); }); }},
    {"ZeroBits", [] { return withImageChange([](auto& i) { i.bitCount = 0; }); }},
    {"CoreHeader", [] { return withImageChange([](auto& i) { i.headerSize = 12; }); }},
    {"HeaderLongerThanTheImage",
     [] {
         FileBytes file = withChange([](auto&) {});
         file[6 + 16 + 3] = 0x10;  // the bitmap header's size field, now 0x10000028
         return file;
     }},
};

INSTANTIATE_TEST_SUITE_P(Icon, IconDecoderRefuses, testing::ValuesIn(refusedCases),
                         [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

// Drawing. Icons are made directly, colours given as 0xAARRGGBB.

IconImage makeIcon(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& colours,
                   const std::vector<std::uint8_t>& mask, bool hasAlpha) {
    IconImage icon;
    icon.width = width;
    icon.height = height;
    icon.colour = Bytes::ofSize(width * height * 4);
    icon.mask = Bytes::ofSize(width * height);
    for (std::size_t i = 0; i < colours.size(); ++i) {
        for (int byte = 0; byte < 4; ++byte) {
            icon.colour.data()[4 * i + byte] = static_cast<std::uint8_t>(colours[i] >> (8 * byte));
        }
        icon.mask.data()[i] = mask.empty() ? 0 : mask[i];
    }
    icon.hasAlpha = hasAlpha;
    return icon;
}

// A target whose every pixel differs, so any stray write shows.
Raster patternedTarget(std::int32_t width, std::int32_t height) {
    Raster target = *Raster::create(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            target.row(y)[x] = 0x00103050u + static_cast<std::uint32_t>(x * 0x0B0905 + y * 0x070311);
        }
    }
    return target;
}

std::uint32_t channel(std::uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

TEST(IconDrawing, TheMaskPicksExclusiveOrOrColourAtEitherQuality) {
    const IconImage icon = makeIcon(2, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF808080}, {1, 0, 0, 1}, false);
    for (const StretchQuality quality : {StretchQuality::Nearest, StretchQuality::Smooth}) {
        const Raster before = patternedTarget(4, 4);
        Raster target = patternedTarget(4, 4);
        drawIcon(icon, target, 1, 1, 0, 0, quality);
        EXPECT_EQ(target.pixel(1, 1), before.pixel(1, 1) ^ 0x0000FF);
        EXPECT_EQ(target.pixel(2, 1), 0x00FF00u);
        EXPECT_EQ(target.pixel(1, 2), 0xFF0000u);
        EXPECT_EQ(target.pixel(2, 2), before.pixel(2, 2) ^ 0x808080);
        for (std::int32_t y = 0; y < 4; ++y) {
            for (std::int32_t x = 0; x < 4; ++x) {
                if (x == 0 || y == 0 || x == 3 || y == 3) {
                    EXPECT_EQ(target.pixel(x, y), before.pixel(x, y));
                }
            }
        }
    }
}

TEST(IconDrawing, AlphaBlendsOverTheTargetAndKeepsTheTopByteClear) {
    const IconImage icon = makeIcon(3, 1, {0x00FFFFFF, 0x80C86432, 0xFF0A141E}, {1, 0, 0}, true);
    Raster target = *Raster::create(3, 1);
    target.fill(0x00204060);
    drawIcon(icon, target, 0, 0, -1, -1, StretchQuality::Smooth);
    EXPECT_EQ(target.pixel(0, 0), 0x00204060u);  // alpha 0: the target, whatever the colour
    EXPECT_EQ(target.pixel(2, 0), 0x000A141Eu);  // alpha 255: the colour
    const std::uint32_t half = target.pixel(1, 0);
    EXPECT_EQ(half >> 24, 0u);
    const double a = 128.0 / 255.0;
    EXPECT_NEAR(channel(half, 16), 0xC8 * a + 0x20 * (1 - a), 1.0);
    EXPECT_NEAR(channel(half, 8), 0x64 * a + 0x40 * (1 - a), 1.0);
    EXPECT_NEAR(channel(half, 0), 0x32 * a + 0x60 * (1 - a), 1.0);
}

TEST(IconDrawing, TransparentColourDoesNotBleedWhenSmoothed) {
    // Opaque red beside fully transparent green: stretched to three pixels,
    // the middle one mixes red with nothing, never with green.
    const IconImage icon = makeIcon(2, 1, {0xFFFF0000, 0x0000FF00}, {}, true);
    Raster target = *Raster::create(3, 1);
    drawIcon(icon, target, 0, 0, 3, 1, StretchQuality::Smooth);
    EXPECT_EQ(target.pixel(0, 0), 0xFF0000u);
    EXPECT_EQ(channel(target.pixel(1, 0), 8), 0u);
    EXPECT_NEAR(channel(target.pixel(1, 0), 16), 128.0, 1.0);
    EXPECT_EQ(target.pixel(2, 0), 0u);
}

TEST(IconDrawing, ASmoothedMaskIconKeepsItsSeeThroughArea) {
    // Left column see-through (black colour, mask set), right column white.
    // Smoothed to 5 x 5 the colour blurs, but the mask is taken pixel by
    // pixel: where it stays set the target must show unchanged.
    const IconImage icon = makeIcon(2, 2, {0xFF000000, 0xFFFFFFFF, 0xFF000000, 0xFFFFFFFF}, {1, 0, 1, 0}, false);
    const Raster before = patternedTarget(5, 5);
    Raster target = patternedTarget(5, 5);
    drawIcon(icon, target, 0, 0, 5, 5, StretchQuality::Smooth);
    for (std::int32_t y = 0; y < 5; ++y) {
        EXPECT_EQ(target.pixel(0, y), before.pixel(0, y));
        EXPECT_EQ(target.pixel(1, y), before.pixel(1, y));
        EXPECT_EQ(target.pixel(4, y), 0xFFFFFFu);
    }
}

TEST(IconDrawing, NearestScalingRepeatsColourAndMask) {
    const IconImage icon = makeIcon(2, 2, {0xFF0000FF, 0xFF00FF00, 0xFFFF0000, 0xFF808080}, {1, 0, 0, 1}, false);
    const Raster before = patternedTarget(4, 4);
    Raster target = patternedTarget(4, 4);
    drawIcon(icon, target, 0, 0, 4, 4, StretchQuality::Nearest);
    const std::uint32_t colours[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x808080};
    for (std::int32_t y = 0; y < 4; ++y) {
        for (std::int32_t x = 0; x < 4; ++x) {
            const std::size_t source = static_cast<std::size_t>((y / 2) * 2 + x / 2);
            const std::uint32_t colour = colours[source];
            const bool masked = source == 0 || source == 3;
            EXPECT_EQ(target.pixel(x, y), masked ? before.pixel(x, y) ^ colour : colour) << x << "," << y;
        }
    }
}

TEST(IconDrawing, ASideOfZeroOrLessTakesTheIconsOwn) {
    const IconImage icon = makeIcon(2, 1, {0xFF112233, 0xFF445566}, {}, false);
    Raster target = *Raster::create(6, 6);
    drawIcon(icon, target, 0, 0, 0, 5, StretchQuality::Nearest);
    for (std::int32_t y = 0; y < 6; ++y) {
        for (std::int32_t x = 0; x < 6; ++x) {
            const std::uint32_t expected = y >= 5 || x >= 2 ? 0 : (x == 0 ? 0x112233u : 0x445566u);
            EXPECT_EQ(target.pixel(x, y), expected) << x << "," << y;
        }
    }
}

struct ClipCase {
    const char* name;
    std::int32_t x;
    std::int32_t y;
    std::int32_t width;
    std::int32_t height;
};

class IconDrawingClips : public testing::TestWithParam<ClipCase> {};

TEST_P(IconDrawingClips, ChangesOnlyTheCoveredTargetPixels) {
    const IconImage icon = makeIcon(3, 3, std::vector<std::uint32_t>(9, 0xFF00AA55), {}, false);
    const Raster before = patternedTarget(4, 4);
    Raster target = patternedTarget(4, 4);
    const ClipCase& c = GetParam();
    drawIcon(icon, target, c.x, c.y, c.width, c.height, StretchQuality::Nearest);
    const std::int64_t right = std::int64_t(c.x) + (c.width > 0 ? c.width : 3);
    const std::int64_t bottom = std::int64_t(c.y) + (c.height > 0 ? c.height : 3);
    for (std::int32_t y = 0; y < 4; ++y) {
        for (std::int32_t x = 0; x < 4; ++x) {
            const bool covered = x >= c.x && x < right && y >= c.y && y < bottom;
            EXPECT_EQ(target.pixel(x, y), covered ? 0x00AA55u : before.pixel(x, y)) << x << "," << y;
        }
    }
}

const ClipCase clipCases[] = {
    {"AboveLeft", -1, -2, 0, 0},
    {"BelowRight", 3, 2, 0, 0},
    {"LargerThanTheTarget", -5, -5, 20, 20},
    {"Outside", 4, 0, 0, 0},
    {"FarOutside", INT32_MAX, INT32_MAX, 0, 0},
    {"FarAboveLeft", INT32_MIN, INT32_MIN, 3, 3},
    {"EndingAtTheLargestCoordinate", INT32_MAX - 2, 1, 3, 3},
};

INSTANTIATE_TEST_SUITE_P(Icon, IconDrawingClips, testing::ValuesIn(clipCases),
                         [](const testing::TestParamInfo<ClipCase>& info) { return info.param.name; });

}  // namespace
