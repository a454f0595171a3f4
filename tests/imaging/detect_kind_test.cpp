#include <string>

#include <gtest/gtest.h>

#include "imaging/picture.h"

namespace {

PictureKind detect(const std::string& bytes) {
    return detectPictureKind({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

TEST(DetectPictureKind, ReadsTheFirstBytes) {
    using namespace std::string_literals;
    const struct {
        std::string bytes;
        PictureKind kind;
    } cases[] = {
        {"BMxxxxxx", PictureKind::Bmp},
        {"\xFF\xD8\xFF\xE0xxxx"s, PictureKind::Jpeg},
        {"\x89PNG\r\n\x1A\n"s, PictureKind::Png},
        {"\0\0\1\0\1\0xx"s, PictureKind::Icon},
        {"\0\0\2\0\3\0xx"s, PictureKind::Cursor},
        {"\0\0\1\0\0\0xx"s, PictureKind::None},  // no entries
        {"GIF87axx", PictureKind::Gif},
        {"GIF89axx", PictureKind::Gif},
        {"GIF88axx", PictureKind::None},
        {"\x0A\x05\x01\x08xxxx"s, PictureKind::Pcx8},
        {"\x0A\x06\x01\x08xxxx"s, PictureKind::None},  // version above 5
        {"\x0A\x03\x01\x01xxxx"s, PictureKind::Pcx1},
        {"\x0A\x05\x01\x01xxxx"s, PictureKind::None},  // two-colour only as version 3
        {"BM\xFF\xD8"s, PictureKind::None},           // fewer than six bytes
        {"hello, world", PictureKind::None},
    };
    for (const auto& c : cases) EXPECT_EQ(detect(c.bytes), c.kind) << c.bytes;
}

}  // namespace
