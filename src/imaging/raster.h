#pragma once

#include <cstdint>
#include <memory>
#include <optional>

// A drawing surface of 32-bit pixels, top row first. A pixel is 0x00RRGGBB,
// in memory blue, green, red and an unused byte; the unused byte is kept 0.
class Raster {
public:
    // A zero-filled (black) raster, or nothing when it is not positive in
    // both directions or cannot be held in memory.
    static std::optional<Raster> create(std::int32_t width, std::int32_t height);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::uint32_t* row(std::int32_t y) { return pixels_.get() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* row(std::int32_t y) const {
        return pixels_.get() + static_cast<std::size_t>(y) * width_;
    }
    std::uint32_t pixel(std::int32_t x, std::int32_t y) const { return row(y)[x]; }

    void fill(std::uint32_t pixel);
    // Copies the overlapping top-left part of source, unscaled.
    void copyTopLeftFrom(const Raster& source);

private:
    Raster(std::int32_t width, std::int32_t height, std::unique_ptr<std::uint32_t[]> pixels)
        : width_(width), height_(height), pixels_(std::move(pixels)) {}

    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::unique_ptr<std::uint32_t[]> pixels_;
};

// A colour value 0x00BBGGRR (red in the low byte) as a raster pixel.
inline std::uint32_t pixelFromColour(std::uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

inline std::uint32_t pixelFromBgr(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    return (static_cast<std::uint32_t>(red) << 16) | (static_cast<std::uint32_t>(green) << 8) | blue;
}
