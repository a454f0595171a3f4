#pragma once

#include <cstdint>

#include "imaging/picture.h"
#include "imaging/raster.h"
#include "imaging/stretch.h"

// A raster to draw on, with the colours that two-colour pictures take:
// 0 bits the foreground, 1 bits the background. Colours are 0x00BBGGRR.
struct Surface {
    Raster& raster;
    std::uint32_t foreground = 0x000000;
    std::uint32_t background = 0xFFFFFF;
};

// Stands for the picture's own width or height.
inline constexpr std::int32_t ownSize = -1;

// Draws picture stretched onto the rectangle at x, y of surface with the
// current stretch quality. width and height: ownSize for the picture's own
// size, 0 for nothing, other negatives mirror. Transparent PNG pixels are
// composited onto compositeBackground (0x00BBGGRR) first.
void renderPicture(const Picture& picture, Surface& surface, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, RasterOp op, std::uint32_t compositeBackground);
