#pragma once

#include <optional>

#include "app/byte_view.h"
#include "imaging/picture.h"

// One decoder a format. Each reads only within data, refuses pictures
// beyond maxPicturePixels before allocating, and yields nothing on any
// failure, with everything it took given back.

std::optional<Picture> decodeJpeg(ByteView data);
std::optional<Picture> decodeBmp(ByteView data);
std::optional<Picture> decodePng(ByteView data);
// Icon and cursor files; the kind follows the file's type word.
std::optional<Picture> decodeIconFile(ByteView data);
std::optional<Picture> decodeGif(ByteView data);
// Both PCX forms; the kind follows the bits per pixel.
std::optional<Picture> decodePcx(ByteView data);
