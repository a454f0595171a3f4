#include <gtest/gtest.h>

#include <cstdint>
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
using gif_pcx_files::PcxFile;
using gif_pcx_files::Rgb;
using gif_pcx_files::viewOf;

std::optional<Picture> decode(const PcxFile& file) { return decodePcx(viewOf(gif_pcx_files::pcxFile(file))); }

// An 8-bit file of width x height whose scan lines are bytesPerLine long.
PcxFile indexedFile(std::int16_t width, std::int16_t height, std::uint16_t bytesPerLine, std::uint32_t seed) {
    PcxFile file;
    file.xMax = static_cast<std::int16_t>(width - 1);
    file.yMax = static_cast<std::int16_t>(height - 1);
    file.bytesPerLine = bytesPerLine;
    for (std::int16_t y = 0; y < height; ++y) {
        file.scanLines.push_back(gif_pcx_files::noiseIndices(bytesPerLine, 256, seed + y));
    }
    return file;
}

std::vector<Rgb> rainbow() {
    std::vector<Rgb> palette;
    for (int i = 0; i < 256; ++i) {
        palette.push_back(
            {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(~i)});
    }
    return palette;
}

ByteVector rowOf(const Picture& picture, std::int32_t y) {
    const std::uint8_t* row = indexed_block::row(picture.pixels, y);
    return ByteVector(row, row + indexed_block::rowLength(picture.pixels));
}

// The row a scan line of length bytes makes in a block whose rows are rowLength long.
ByteVector paddedTo(ByteVector scanLine, std::size_t rowLength) {
    scanLine.resize(rowLength, 0);
    return scanLine;
}

std::uint32_t bgr0(const Rgb& colour) { return colour.blue | (colour.green << 8) | (colour.red << 16); }

TEST(PcxDecoder, Stores256ColourScanLinesAndPaletteInAnIndexedBlock) {
    PcxFile file = indexedFile(6, 3, 6, 1);
    file.palette = rainbow();
    const auto picture = decode(file);
    ASSERT_TRUE(picture);

    EXPECT_EQ(picture->kind, PictureKind::Pcx8);
    EXPECT_EQ(picture->width, 6);
    EXPECT_EQ(picture->height, 3);
    EXPECT_EQ(indexed_block::width(picture->pixels), 6);
    EXPECT_EQ(indexed_block::height(picture->pixels), 3);
    EXPECT_EQ(indexed_block::rowLength(picture->pixels), 8u);
    EXPECT_EQ(picture->pixels.size(), indexed_block::rowsOffset + 3 * 8);
    EXPECT_EQ(blockField(*picture, 12, 2), 1u);  // planes
    EXPECT_EQ(blockField(*picture, 14, 2), 8u);  // bits per pixel
    EXPECT_EQ(blockField(*picture, 32, 4), 0u);  // colours used
    EXPECT_EQ(blockField(*picture, 36, 4), 0u);  // colours important
    for (std::int32_t y = 0; y < 3; ++y) EXPECT_EQ(rowOf(*picture, y), paddedTo(file.scanLines[y], 8)) << y;
    for (std::size_t i = 0; i < 256; ++i) EXPECT_EQ(paletteEntry(*picture, i), bgr0(file.palette[i])) << i;
}

TEST(PcxDecoder, AnOddWidthKeepsTheScanLinesPadByte) {
    PcxFile file = indexedFile(5, 4, 6, 2);
    for (ByteVector& line : file.scanLines) line[5] = 0xEE;
    const auto picture = decode(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 5);
    for (std::int32_t y = 0; y < 4; ++y) {
        const ByteVector row = rowOf(*picture, y);
        EXPECT_EQ(row, paddedTo(file.scanLines[y], 8)) << y;
        EXPECT_EQ(row[5], 0xEE);
    }
}

TEST(PcxDecoder, WithoutAPaletteAfterTheDataColoursAreAGreyRamp) {
    struct Case {
        std::string name;
        ByteVector tail;  // what follows the data
    };
    const std::vector<Case> cases = {
        {"nothing", {}},
        {"another byte than the marker", ByteVector(769, 0x0D)},
        {"a marker with a palette cut short", [] {
             ByteVector tail(768, 0x55);
             tail[0] = 0x0C;
             return tail;
         }()},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        ByteVector bytes = gif_pcx_files::pcxFile(indexedFile(4, 2, 4, 3));
        bytes.insert(bytes.end(), test.tail.begin(), test.tail.end());
        const auto picture = decodePcx(viewOf(bytes));
        ASSERT_TRUE(picture);
        for (std::uint32_t i = 0; i < 256; ++i) ASSERT_EQ(paletteEntry(*picture, i), i | (i << 8) | (i << 16)) << i;
    }
}

TEST(PcxDecoder, TheWindowMayStartAnywhere) {
    PcxFile file = indexedFile(4, 3, 4, 4);
    file.xMin = -3;
    file.xMax = 0;
    file.yMin = 100;
    file.yMax = 102;
    const auto picture = decode(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->width, 4);
    EXPECT_EQ(picture->height, 3);
}

TEST(PcxDecoder, ARunAcrossTheEndOfALineCarriesOnIntoTheNext) {
    // One run of 9 bytes covers three scan lines of 3; the rows' padding
    // byte stays clear.
    PcxFile file;
    file.xMax = 2;
    file.yMax = 2;
    file.bytesPerLine = 3;
    file.scanLines = {{5, 5, 5}, {5, 5, 5}, {5, 5, 9}};
    file.runsAcrossLines = true;
    const auto picture = decode(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(rowOf(*picture, 0), (ByteVector{5, 5, 5, 0}));
    EXPECT_EQ(rowOf(*picture, 1), (ByteVector{5, 5, 5, 0}));
    EXPECT_EQ(rowOf(*picture, 2), (ByteVector{5, 5, 9, 0}));
}

TEST(PcxDecoder, RunsAndLiteralsFollowTheThresholdOf0xC0) {
    // 0xC0 stands for itself; 0xC1 is a run of one, 0xFF a run of 63.
    PcxFile file;
    file.xMax = 65;
    file.bytesPerLine = 66;
    ByteVector bytes = gif_pcx_files::pcxFile(file);
    const ByteVector data = {0xC0, 0xC1, 0xC7, 0xFF, 0x11, 0x22};
    bytes.insert(bytes.end(), data.begin(), data.end());
    const auto picture = decodePcx(viewOf(bytes));
    ASSERT_TRUE(picture);
    ByteVector expected = {0xC0, 0xC7};
    expected.insert(expected.end(), 63, 0x11);
    expected.push_back(0x22);
    EXPECT_EQ(rowOf(*picture, 0), paddedTo(expected, 68));
}

TEST(PcxDecoder, RowsTheDataDoesNotReachStayZero) {
    const PcxFile file = indexedFile(8, 6, 8, 5);
    const ByteVector whole = gif_pcx_files::pcxFile(file);
    const ByteVector cut(whole.begin(), whole.begin() + 128 + 20);
    const auto picture = decodePcx(viewOf(cut));
    ASSERT_TRUE(picture);
    EXPECT_EQ(rowOf(*picture, 0), file.scanLines[0]);
    for (std::int32_t y = 3; y < 6; ++y) EXPECT_EQ(rowOf(*picture, y), ByteVector(8, 0)) << y;
    EXPECT_EQ(paletteEntry(*picture, 200), 0xC8C8C8u);
}

TEST(PcxDecoder, SeveralPlanesLieSideBySideInARow) {
    // A 24-bit file: red, green and blue lines of one row after each other.
    PcxFile file = indexedFile(3, 2, 9, 6);
    file.planes = 3;
    file.bytesPerLine = 3;
    const auto picture = decode(file);
    ASSERT_TRUE(picture);
    EXPECT_EQ(blockField(*picture, 12, 2), 3u);
    EXPECT_EQ(indexed_block::rowLength(picture->pixels), 12u);
    for (std::int32_t y = 0; y < 2; ++y) EXPECT_EQ(rowOf(*picture, y), paddedTo(file.scanLines[y], 12)) << y;
}

TEST(PcxDecoder, DecodesTwoColourFilesRowForRow) {
    struct Case {
        std::int16_t width;
        std::uint16_t bytesPerLine;
        std::size_t rowLength;
    };
    for (const Case& test : {Case{12, 2, 2}, Case{20, 4, 4}, Case{12, 4, 2}, Case{20, 3, 4}, Case{1, 1, 2}}) {
        SCOPED_TRACE(testing::Message() << "width " << test.width << ", bytes per line " << test.bytesPerLine);
        PcxFile file;
        file.version = 3;
        file.bitsPerPixel = 1;
        file.xMax = static_cast<std::int16_t>(test.width - 1);
        file.yMax = 4;
        file.bytesPerLine = test.bytesPerLine;
        for (int y = 0; y < 5; ++y) {
            file.scanLines.push_back(gif_pcx_files::noiseIndices(test.bytesPerLine, 256, 60 + y));
        }
        const auto picture = decode(file);
        ASSERT_TRUE(picture);
        EXPECT_EQ(picture->kind, PictureKind::Pcx1);
        EXPECT_EQ(picture->width, test.width);
        EXPECT_EQ(picture->height, 5);
        ASSERT_EQ(picture->pixels.size(), 5 * test.rowLength);
        const std::size_t pixelBytes = (test.width + 7) / 8;
        for (std::size_t y = 0; y < 5; ++y) {
            const std::uint8_t* row = picture->pixels.data() + y * test.rowLength;
            ByteVector expected(file.scanLines[y].begin(), file.scanLines[y].begin() + pixelBytes);
            expected.resize(test.rowLength, 0);
            EXPECT_EQ(ByteVector(row, row + test.rowLength), expected) << "row " << y;
        }
    }
}

struct RefusedCase {
    std::string name;
    ByteVector file;
};

template <typename Change>
ByteVector changed(PcxFile file, Change change) {
    change(file);
    return gif_pcx_files::pcxFile(file);
}

std::vector<RefusedCase> refusedFiles() {
    const PcxFile good = indexedFile(4, 2, 4, 7);
    const ByteVector goodBytes = gif_pcx_files::pcxFile(good);
    PcxFile twoColour = good;
    twoColour.bitsPerPixel = 1;
    twoColour.bytesPerLine = 1;
    return {
        {"the header alone", ByteVector(goodBytes.begin(), goodBytes.begin() + 128)},
        {"another manufacturer", changed(good, [](PcxFile& f) { f.manufacturer = 0x0B; })},
        {"no run-length encoding", changed(good, [](PcxFile& f) { f.encoding = 0; })},
        {"version 6", changed(good, [](PcxFile& f) { f.version = 6; })},
        {"4 bits per pixel", changed(good, [](PcxFile& f) { f.bitsPerPixel = 4; })},
        {"24 bits per pixel", changed(good, [](PcxFile& f) { f.bitsPerPixel = 24; })},
        {"1 bit per pixel in 4 planes", changed(twoColour, [](PcxFile& f) { f.planes = 4; })},
        {"width 0", changed(good, [](PcxFile& f) { f.xMax = -1; })},
        {"a negative height", changed(good, [](PcxFile& f) { f.yMin = 5; })},
        {"8-bit scan lines shorter than the width", changed(good, [](PcxFile& f) { f.bytesPerLine = 3; })},
        {"8-bit scan lines of no planes", changed(good, [](PcxFile& f) { f.planes = 0; })},
        {"1-bit scan lines shorter than the width", changed(twoColour, [](PcxFile& f) { f.xMax = 8; })},
        {"a size beyond the pixel limit",
         changed(good, [](PcxFile& f) {
             f.xMin = -32768;
             f.xMax = 32767;
             f.yMin = -32768;
             f.yMax = 32767;
             f.bytesPerLine = 65535;
         })},
        {"rows beyond the limit though the pixels are few",
         changed(good, [](PcxFile& f) {
             f.yMax = 9999;
             f.bytesPerLine = 65535;
             f.planes = 255;
         })},
    };
}

TEST(PcxDecoderRefuses, MalformedFiles) {
    for (const RefusedCase& test : refusedFiles()) {
        SCOPED_TRACE(test.name);
        EXPECT_FALSE(decodePcx(viewOf(test.file)));
    }
}

TEST(PcxDecoderRefuses, AndGivesBackWhatItTook) {
    const std::int64_t before = liveBlockCount();
    for (const RefusedCase& test : refusedFiles()) decodePcx(viewOf(test.file));
    EXPECT_EQ(liveBlockCount(), before);
}

}  // namespace
