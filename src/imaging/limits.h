#pragma once

#include <cstddef>
#include <cstdint>

// The largest picture any decoder accepts, in pixels. A header asking for
// more is refused before anything is allocated: 2^28 pixels already need
// 1 GiB as 32-bit pixels.
inline constexpr std::int64_t maxPicturePixels = std::int64_t(1) << 28;

// Whether a width x height picture is positive and within maxPicturePixels.
inline bool isAcceptedPictureSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= maxPicturePixels && height <= maxPicturePixels &&
           width * height <= maxPicturePixels;
}

// a * b, or false when it does not fit a size_t.
inline bool multiplySizes(std::size_t a, std::size_t b, std::size_t& product) {
    if (a != 0 && b > SIZE_MAX / a) return false;
    product = a * b;
    return true;
}

// a + b, or false when it does not fit a size_t.
inline bool addSizes(std::size_t a, std::size_t b, std::size_t& sum) {
    if (b > SIZE_MAX - a) return false;
    sum = a + b;
    return true;
}
