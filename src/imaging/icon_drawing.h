#pragma once

#include <cstdint>

#include "imaging/icon_image.h"
#include "imaging/raster.h"
#include "imaging/stretch.h"

// Draws icon with its mask at x, y, scaled to width x height (0 or less
// takes the icon's own size in that direction), clipped to target. Where the
// mask is set the target shows through, combined with the colour by
// exclusive or; elsewhere the colour is drawn. An icon with alpha is
// blended by its alpha instead.
void drawIcon(const IconImage& icon, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height, StretchQuality quality);
