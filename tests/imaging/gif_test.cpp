#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/blocks.h"
#include "imaging/decoders/decoders.h"
#include "imaging/indexed_block.h"
#include "support/gif_pcx_files.h"
#include "support/picture_reading.h"

namespace {

using picture_reading::blockField;
using picture_reading::paletteEntry;

using gif_pcx_files::ByteVector;
using gif_pcx_files::GifImage;
using gif_pcx_files::GifWriter;
using gif_pcx_files::Rgb;
using gif_pcx_files::viewOf;

std::vector<Rgb> tableOf(int entries, std::uint8_t tint) {
    std::vector<Rgb> table;
    for (int i = 0; i < entries; ++i) {
        table.push_back(
            {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(tint), static_cast<std::uint8_t>(255 - i)});
    }
    return table;
}

GifImage imageOf(std::uint16_t width, std::uint16_t height, ByteVector indices) {
    GifImage image;
    image.width = width;
    image.height = height;
    image.indices = std::move(indices);
    return image;
}

std::optional<Picture> decode(const ByteVector& file) { return decodeGif(viewOf(file)); }

// The image's indices, row after row, without the rows' padding.
ByteVector indicesOf(const Picture& picture) {
    const std::int32_t width = indexed_block::width(picture.pixels);
    ByteVector indices;
    for (std::int32_t y = 0; y < indexed_block::height(picture.pixels); ++y) {
        const std::uint8_t* row = indexed_block::row(picture.pixels, y);
        indices.insert(indices.end(), row, row + width);
    }
    return indices;
}

std::uint32_t bgr0(const Rgb& colour) { return colour.blue | (colour.green << 8) | (colour.red << 16); }

TEST(GifDecoder, StoresTheImageAndItsTableInAnIndexedBlock) {
    const std::vector<Rgb> table = tableOf(4, 0x40);
    const ByteVector indices = {0, 1, 2, 3, 0, 3, 2, 1, 0, 3, 1, 1, 2, 2, 3};
    const auto picture = decode(GifWriter(5, 3, table).image(imageOf(5, 3, indices)).trailer().bytes());
    ASSERT_TRUE(picture);

    EXPECT_EQ(picture->kind, PictureKind::Gif);
    EXPECT_EQ(picture->width, 5);
    EXPECT_EQ(picture->height, 3);
    EXPECT_EQ(indexed_block::width(picture->pixels), 5);
    EXPECT_EQ(indexed_block::height(picture->pixels), 3);
    EXPECT_EQ(indexed_block::rowLength(picture->pixels), 8u);
    EXPECT_EQ(picture->pixels.size(), indexed_block::rowsOffset + 3 * 8);
    EXPECT_EQ(blockField(*picture, 12, 2), 1u);    // planes
    EXPECT_EQ(blockField(*picture, 14, 2), 8u);    // bits per pixel
    EXPECT_EQ(blockField(*picture, 32, 4), 256u);  // colours used
    EXPECT_EQ(blockField(*picture, 36, 4), 256u);  // colours important

    EXPECT_EQ(indicesOf(*picture), indices);
    for (std::int32_t y = 0; y < 3; ++y) {
        const std::uint8_t* row = indexed_block::row(picture->pixels, y);
        EXPECT_EQ(row[5] | row[6] | row[7], 0) << "padding of row " << y;
    }
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(paletteEntry(*picture, i), bgr0(table[i])) << i;
}

TEST(GifDecoder, AnIndexBeyondTheTableDrawsBlack) {
    // A 2-entry table; index 3 is stored as it is and its entry stays 0.
    const auto picture = decode(GifWriter(2, 1, tableOf(2, 0x80)).image(imageOf(2, 1, {1, 3})).bytes());
    ASSERT_TRUE(picture);
    EXPECT_EQ(indicesOf(*picture), (ByteVector{1, 3}));
    EXPECT_NE(paletteEntry(*picture, 1), 0u);
    for (std::size_t i = 2; i < 256; ++i) EXPECT_EQ(paletteEntry(*picture, i), 0u) << i;
}

TEST(GifDecoder, InterlacedAndPlainFilesGiveTheSameBlock) {
    // Heights that leave one or more of the four passes empty or short.
    for (const std::uint16_t height : {1, 2, 3, 4, 5, 7, 8, 9, 12, 16, 17, 29}) {
        SCOPED_TRACE(height);
        GifImage image = imageOf(3, height, gif_pcx_files::noiseIndices(3u * height, 16, height));
        const auto plain = decode(GifWriter(3, height, tableOf(16, 1)).image(image).trailer().bytes());
        image.interlaced = true;
        const auto interlaced = decode(GifWriter(3, height, tableOf(16, 1)).image(image).trailer().bytes());
        ASSERT_TRUE(plain);
        ASSERT_TRUE(interlaced);
        EXPECT_EQ(indicesOf(*plain), image.indices);
        ASSERT_EQ(plain->pixels.size(), interlaced->pixels.size());
        EXPECT_EQ(std::memcmp(plain->pixels.data(), interlaced->pixels.data(), plain->pixels.size()), 0);
    }
}

TEST(GifDecoder, ALocalTableWinsOverTheGlobalOne) {
    const std::vector<Rgb> global = tableOf(4, 0x11);
    GifImage image = imageOf(2, 2, {0, 1, 2, 3});
    image.localTable = tableOf(8, 0x99);
    const auto picture = decode(GifWriter(2, 2, global).image(image).trailer().bytes());
    ASSERT_TRUE(picture);
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(paletteEntry(*picture, i), bgr0(image.localTable[i])) << i;
}

TEST(GifDecoder, WithoutAnyTableEveryColourIsBlack) {
    const auto picture = decode(GifWriter(2, 1).image(imageOf(2, 1, {1, 2})).bytes());
    ASSERT_TRUE(picture);
    for (std::size_t i = 0; i < 256; ++i) EXPECT_EQ(paletteEntry(*picture, i), 0u) << i;
}

TEST(GifDecoder, TheFirstImageKeepsTheScreenSizeWhateverItsPlace) {
    GifImage first = imageOf(3, 2, {1, 2, 3, 3, 2, 1});
    first.left = 4;
    first.top = 5;
    const GifImage second = imageOf(10, 8, ByteVector(80, 7));
    const ByteVector file = GifWriter(10, 8, tableOf(8, 0))
                                .application()
                                .graphicControl(10)
                                .image(first)
                                .graphicControl(10)
                                .image(second)
                                .trailer()
                                .bytes();
    const auto picture = decode(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 10);
    EXPECT_EQ(picture->height, 8);
    EXPECT_EQ(indexed_block::width(picture->pixels), 3);
    EXPECT_EQ(indexed_block::height(picture->pixels), 2);
    EXPECT_EQ(indicesOf(*picture), first.indices);
}

TEST(GifDecoder, SkipsEveryKnownExtensionBeforeTheImage) {
    for (const std::string version : {"87a", "89a"}) {
        SCOPED_TRACE(version);
        const ByteVector file = GifWriter(2, 2, tableOf(4, 0), version)
                                    .comment("made by a test")
                                    .application()
                                    .plainText("hello")
                                    .graphicControl(5, 3)
                                    .extension(0xFE, {})
                                    .image(imageOf(2, 2, {3, 2, 1, 0}))
                                    .trailer()
                                    .bytes();
        const auto picture = decode(file);
        ASSERT_TRUE(picture);
        EXPECT_EQ(indicesOf(*picture), (ByteVector{3, 2, 1, 0}));
    }
}

TEST(GifDecoder, DecodesATableThatFillsBeforeItsClearCode) {
    struct Case {
        std::string name;
        std::size_t codesBeforeLateClear;
        bool interlaced;
    };
    for (const Case& test : {Case{"no clear at all", 0, false}, Case{"late clear", 900, false},
                             Case{"late clear, interlaced", 900, true}}) {
        SCOPED_TRACE(test.name);
        GifImage image = imageOf(160, 150, gif_pcx_files::noiseIndices(160 * 150, 256, 21));
        image.lzw.clearWhenFull = false;
        image.lzw.codesBeforeLateClear = test.codesBeforeLateClear;
        image.interlaced = test.interlaced;
        const auto picture = decode(GifWriter(160, 150, tableOf(256, 0)).image(image).trailer().bytes());
        ASSERT_TRUE(picture);
        EXPECT_EQ(indicesOf(*picture), image.indices);
    }
}

TEST(GifDecoder, PixelsPastTheLastRowAreDropped) {
    for (const bool interlaced : {false, true}) {
        SCOPED_TRACE(interlaced);
        const ByteVector shown = gif_pcx_files::noiseIndices(5 * 4, 4, 31);
        ByteVector encoded = shown;
        encoded.insert(encoded.end(), 300, 3);
        GifImage image = imageOf(5, 4, encoded);
        image.interlaced = interlaced;
        const auto picture = decode(GifWriter(5, 4, tableOf(4, 0)).image(image).trailer().bytes());
        ASSERT_TRUE(picture);
        EXPECT_EQ(indicesOf(*picture), shown);
        EXPECT_EQ(indexed_block::row(picture->pixels, 3)[5], 0) << "row padding stays clear";
    }
}

TEST(GifDecoder, PixelsTheDataNeverReachesAreIndexZero) {
    const ByteVector indices = gif_pcx_files::noiseIndices(20 * 10, 3, 41);
    const ByteVector whole = GifWriter(20, 10, tableOf(4, 0)).image(imageOf(20, 10, ByteVector(indices))).bytes();
    // The codes fit one sub-block; the cut leaves its first part.
    const ByteVector cut(whole.begin(), whole.end() - 30);

    struct Case {
        std::string name;
        ByteVector file;
        std::size_t pixelsReached;  // at least
    };
    const std::vector<Case> cases = {
        {"end code before the last pixel",
         GifWriter(20, 10, tableOf(4, 0))
             .image(imageOf(20, 10, ByteVector(indices.begin(), indices.begin() + 57)))
             .bytes(),
         57},
        {"file cut inside a sub-block", cut, 40},
        {"file cut after the descriptor",
         GifWriter(20, 10, tableOf(4, 0)).raw({0x2C, 0, 0, 0, 0, 20, 0, 10, 0, 0}).bytes(), 0},
        {"image data of no sub-blocks",
         GifWriter(20, 10, tableOf(4, 0)).imageWithData(imageOf(20, 10, {}), {0}).bytes(), 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        const auto picture = decode(test.file);
        ASSERT_TRUE(picture);
        const ByteVector decoded = indicesOf(*picture);
        ASSERT_EQ(decoded.size(), indices.size());
        std::size_t reached = 0;
        while (reached < decoded.size() && decoded[reached] == indices[reached]) ++reached;
        EXPECT_GE(reached, test.pixelsReached);
        EXPECT_LT(reached, decoded.size());
        for (std::size_t i = reached; i < decoded.size(); ++i) ASSERT_EQ(decoded[i], 0) << "pixel " << i;
    }
}

struct RefusedCase {
    std::string name;
    ByteVector file;
};

ByteVector withByte(ByteVector bytes, std::size_t offset, std::uint8_t value) {
    bytes[offset] = value;
    return bytes;
}

ByteVector firstBytes(const ByteVector& bytes, std::size_t count) {
    return ByteVector(bytes.begin(), bytes.begin() + count);
}

std::vector<RefusedCase> refusedFiles() {
    const std::vector<Rgb> table = tableOf(4, 0);
    const GifImage image = imageOf(2, 2, {0, 1, 2, 3});
    const ByteVector good = GifWriter(2, 2, table).image(image).trailer().bytes();
    const ByteVector screenOnly = GifWriter(2, 2, table).bytes();  // 13 + 12 bytes
    GifImage wideImage = image;
    wideImage.width = 16385;
    wideImage.height = 16384;
    GifImage emptyImage = image;
    emptyImage.width = 0;
    GifImage localTable = image;
    localTable.localTable = tableOf(256, 0);
    const ByteVector withLocalTable = GifWriter(2, 2).image(localTable).bytes();
    const std::size_t localTableEnd = 13 + 10 + 768;
    GifImage brokenCodes = image;
    brokenCodes.minimumCodeSize = 2;

    return {
        {"nothing after the screen descriptor", firstBytes(good, 13)},
        {"version 88a", withByte(good, 4, '8')},
        {"version 89b", withByte(good, 5, 'b')},
        {"lower-case signature", withByte(good, 0, 'g')},
        {"global table reaching the end of the data", screenOnly},
        {"global table running past the data", firstBytes(good, 20)},
        {"extensions but no image", GifWriter(2, 2, table).comment("x").graphicControl().trailer().bytes()},
        {"extensions and then the end of the data", GifWriter(2, 2, table).application().bytes()},
        {"a zero byte before any image", GifWriter(2, 2, table).raw({0x00}).image(image).bytes()},
        {"an unknown extension label", GifWriter(2, 2, table).extension(0x02, {{1, 2}}).image(image).bytes()},
        {"an unknown block introducer", GifWriter(2, 2, table).raw({0x2B}).image(image).bytes()},
        {"extension sub-blocks running past the data", GifWriter(2, 2, table).raw({0x21, 0xFE, 9, 1, 2}).bytes()},
        {"extension without its terminator", GifWriter(2, 2, table).raw({0x21, 0xFE, 2, 1, 2}).bytes()},
        {"an image descriptor cut short", GifWriter(2, 2, table).raw({0x2C, 0, 0, 0, 0, 2, 0}).bytes()},
        {"a local table running past the data", firstBytes(withLocalTable, localTableEnd - 1)},
        {"a screen of width 0", GifWriter(0, 2, table).image(image).bytes()},
        {"a screen of height 0", GifWriter(2, 0, table).image(image).bytes()},
        {"a screen beyond the pixel limit", GifWriter(65535, 65535, table).image(image).bytes()},
        {"an image beyond the pixel limit", GifWriter(2, 2, table).image(wideImage).bytes()},
        {"an image of width 0", GifWriter(2, 2, table).image(emptyImage).bytes()},
        {"a broken code stream",
         GifWriter(2, 2, table)
             .imageWithData(brokenCodes, gif_pcx_files::subBlocks(gif_pcx_files::packCodes({{4, 3}, {7, 3}})))
             .bytes()},
        {"a minimum code size of 0", withByte(good, 13 + 12 + 10, 0)},
        {"a minimum code size of 1", withByte(good, 13 + 12 + 10, 1)},
        {"a minimum code size of 12", withByte(good, 13 + 12 + 10, 12)},
    };
}

TEST(GifDecoderRefuses, MalformedFiles) {
    for (const RefusedCase& test : refusedFiles()) {
        SCOPED_TRACE(test.name);
        EXPECT_FALSE(decode(test.file));
    }
}

TEST(GifDecoderRefuses, AndGivesBackWhatItTook) {
    const std::int64_t before = liveBlockCount();
    for (const RefusedCase& test : refusedFiles()) decode(test.file);
    EXPECT_EQ(liveBlockCount(), before);
}

}  // namespace
