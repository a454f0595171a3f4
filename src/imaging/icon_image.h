#pragma once

#include <cstdint>

#include "app/bytes.h"

// The core's own icon object: one image of an icon or cursor file, decoded
// to 32-bit colour with its AND mask, ready to draw at any size.
struct IconImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    // width x height pixels of blue, green, red, alpha; top row first.
    Bytes colour;
    // width x height bytes, top row first: 1 where the AND mask is set (the
    // target shows through, combined with the colour by exclusive or).
    Bytes mask;
    // True when the colour carries a real alpha channel, which then decides
    // the blend instead of the mask.
    bool hasAlpha = false;
};
