#pragma once

#include <cstdint>
#include <memory>

#include "imaging/picture.h"
#include "imaging/stretch.h"

// The rows of a decoded picture as opaque raster pixels, the way each kind
// is drawn: transparent PNG pixels composited onto compositeBackground, a
// GIF's first image on its logical screen over black, two-colour PCX bits
// in foreground (0) and background (1). Colours are 0x00BBGGRR. Null for
// icons, which draw themselves, and for pictures without pixels.
std::unique_ptr<RowSource> pictureRows(const Picture& picture, std::uint32_t compositeBackground,
                                       std::uint32_t foreground, std::uint32_t background);
