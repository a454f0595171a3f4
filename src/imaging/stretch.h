#pragma once

#include <cstdint>
#include <optional>

#include "imaging/raster.h"

// How a picture is scaled: the smoothing stretch gives each target pixel the
// mean of the source pixels it covers, weighted by the covered area; the
// nearest-pixel stretch repeats or drops whole rows and columns.
enum class StretchQuality { Smooth, Nearest };

// How source pixels combine with the target.
enum class RasterOp : std::int32_t {
    Copy = 1,          // source
    InvertedCopy = 2,  // not source
    Xor = 3,           // source xor target
    Or = 4,            // source or target
    And = 5,           // source and target
};

// A row of pixels that can be read where it lies: blue, green, red and,
// with four bytes a pixel, a fourth byte.
struct PixelRow {
    const std::uint8_t* bytes = nullptr;
    int bytesPerPixel = 4;
};

// The rows of a picture, delivered on demand as raster pixels, so a
// picture of any layout can be stretched without first copying it whole.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    // Writes count pixels of row y (0 is the top row), starting at column x,
    // to out. The columns lie within the row.
    virtual void fetchRow(std::int32_t y, std::int32_t x, std::int32_t count, std::uint32_t* out) const = 0;
    // Row y in place, when the source holds it in a layout the stretch reads
    // directly; no bytes when it must be fetched.
    virtual PixelRow rowInPlace(std::int32_t /*y*/) const { return {}; }
};

// A raster as a row source.
class RasterRows : public RowSource {
public:
    explicit RasterRows(const Raster& raster) : raster_(raster) {}
    std::int32_t width() const override { return raster_.width(); }
    std::int32_t height() const override { return raster_.height(); }
    void fetchRow(std::int32_t y, std::int32_t x, std::int32_t count, std::uint32_t* out) const override;
    PixelRow rowInPlace(std::int32_t y) const override;

private:
    const Raster& raster_;
};

// Stretches the whole source onto the rectangle at x, y of width x height
// pixels of target, clipped to the target. A width or height of 0 draws
// nothing; a negative one mirrors the source across that axis into the
// area left of x or above y. All four bytes of each pixel are stretched.
void stretchDraw(const RowSource& source, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
                 std::int32_t height, StretchQuality quality, RasterOp op = RasterOp::Copy);

// The whole source stretched to a new width x height raster; nothing when
// the raster cannot be had.
std::optional<Raster> stretchToSize(const RowSource& source, std::int32_t width, std::int32_t height,
                                    StretchQuality quality);

// The quality for drawings on the current display: smoothing above 16 bits
// a pixel, nearest-pixel at 16 or fewer.
StretchQuality stretchQuality();
