#include "imaging/picture.h"

namespace {

unsigned word(const std::uint8_t* b, int at) { return b[at] | (b[at + 1] << 8); }

}  // namespace

PictureKind detectPictureKind(ByteView first) {
    if (first.size < 6) return PictureKind::None;
    const std::uint8_t* b = first.data;
    if (b[0] == 0x42 && b[1] == 0x4D) return PictureKind::Bmp;
    if (b[0] == 0xFF && b[1] == 0xD8) return PictureKind::Jpeg;
    if (b[0] == 0x89 && b[1] == 0x50 && b[2] == 0x4E && b[3] == 0x47) return PictureKind::Png;
    if (word(b, 0) == 0 && word(b, 2) == 1 && word(b, 4) > 0) return PictureKind::Icon;
    if (word(b, 0) == 0 && word(b, 2) == 2 && word(b, 4) > 0) return PictureKind::Cursor;
    if (b[0] == 0x47 && b[1] == 0x49 && b[2] == 0x46 && b[3] == 0x38 && (b[4] == 0x37 || b[4] == 0x39) &&
        b[5] == 0x61) {
        return PictureKind::Gif;
    }
    if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return PictureKind::Pcx8;
    if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return PictureKind::Pcx1;
    return PictureKind::None;
}
