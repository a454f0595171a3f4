#include <cstring>

#include <gtest/gtest.h>

#include "imaging/bitmap_file.h"

namespace {

std::uint32_t read32(const Bytes& file, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, file.data() + at, 4);
    return value;
}

TEST(BitmapFile, SizesFollowTheRowPadding) {
    const struct {
        std::int32_t edge;
        std::size_t bytes;
    } cases[] = {{420, 529254}, {10, 374}, {1, 58}, {20, 1254}, {300, 270054}};
    for (const auto& c : cases) {
        const Bytes file = encodeBitmapFile(*Raster::create(c.edge, c.edge));
        EXPECT_EQ(file.size(), c.bytes) << c.edge;
    }
}

TEST(BitmapFile, WritesTheHeadersByteForByte) {
    const Bytes file = encodeBitmapFile(*Raster::create(420, 420));
    const std::uint8_t expected[54] = {
        'B', 'M', 0x66, 0x13, 0x08, 0, 0, 0, 0, 0, 54, 0, 0, 0,  // file size 529254, pixels at 54
        40, 0, 0, 0, 0xA4, 1, 0, 0, 0xA4, 1, 0, 0,                 // header size, 420 x 420
        1, 0, 24, 0, 0, 0, 0, 0, 0x30, 0x13, 0x08, 0,               // planes, 24 bits, image size 529200
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    };
    EXPECT_EQ(std::memcmp(file.data(), expected, 54), 0);
    EXPECT_EQ(read32(file, 34), 529200u);
}

TEST(BitmapFile, StoresRowsBottomFirstWithZeroPadding) {
    Raster raster = *Raster::create(2, 2);
    raster.row(0)[0] = 0x00112233;  // top left
    raster.row(0)[1] = 0x00445566;
    raster.row(1)[0] = 0x00778899;  // bottom left
    raster.row(1)[1] = 0x00AABBCC;
    const Bytes file = encodeBitmapFile(raster);
    const std::uint8_t rows[16] = {0x99, 0x88, 0x77, 0xCC, 0xBB, 0xAA, 0, 0,
                                   0x33, 0x22, 0x11, 0x66, 0x55, 0x44, 0, 0};
    ASSERT_EQ(file.size(), 54u + 16u);
    EXPECT_EQ(std::memcmp(file.data() + 54, rows, 16), 0);
}

}  // namespace
