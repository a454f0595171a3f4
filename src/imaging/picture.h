#pragma once

#include <cstdint>
#include <memory>

#include "app/byte_view.h"
#include "app/bytes.h"
#include "app/text.h"
#include "imaging/icon_image.h"

// Which decoder made a picture; decides the layout of its pixels and how it
// is drawn. The codes are fixed.
enum class PictureKind : std::int32_t {
    None = 0,
    Jpeg = 1,    // 3 bytes a pixel (blue, green, red), packed rows, bottom row first
    Bmp = 2,     // as Jpeg
    Icon = 3,    // no pixels: the icon image
    Cursor = 4,  // as Icon
    Gif = 5,     // an 8-bit bitmap block of the first image (indexed_block.h)
    Pcx8 = 6,    // an 8-bit bitmap block
    Pcx1 = 7,    // 1 bit a pixel, leftmost in the high bit, rows of even byte length, top row first
    Png = 8,     // 4 bytes a pixel (blue, green, red, straight alpha), packed rows, top row first
};

// A decoded picture. It owns its icon and its pixels; pixelBytes is
// pixels.size().
struct Picture {
    PictureKind kind = PictureKind::None;
    std::int32_t width = 0;   // drawn at its own size
    std::int32_t height = 0;
    std::unique_ptr<IconImage> icon;
    Bytes pixels;
};

// Names a registered picture; 0 is no picture.
using PictureHandle = std::uint32_t;

// The kind that the first bytes of some data announce, or None. Fewer than
// six bytes are no picture.
PictureKind detectPictureKind(ByteView firstBytes);

// Decodes a picture file (path in UTF-8) or a block of picture bytes and
// registers it; 0 on any failure.
PictureHandle loadPicture(const Text& path);
PictureHandle loadPicture(ByteView bytes);

// Decodes without registering; the picture box uses this for its bytes.
std::unique_ptr<Picture> decodePicture(ByteView bytes);

// Takes a decoded picture into the table and names it.
PictureHandle registerPicture(std::unique_ptr<Picture> picture);
bool isRegisteredPicture(PictureHandle handle);
// Releases a registered picture; does nothing for any other handle.
void releasePicture(PictureHandle handle);
// The registered picture behind handle, or null.
const Picture* registeredPicture(PictureHandle handle);
