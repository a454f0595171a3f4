#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>

#include "app/bytes.h"
#include "imaging/picture.h"
#include "imaging/raster.h"
#include "imaging/stretch.h"

// The hidden work canvas on which squares are made. Its surface is a raster
// of the canvas's whole size (the canvas has no edge), at least 1 x 1,
// which keeps whatever is drawn on it until the size changes. A new surface
// is made when it is first needed after a size change, so a size that is
// never drawn on costs no memory.
class WorkCanvas {
public:
    static constexpr std::int32_t maxSize = 32627;
    static constexpr std::uint32_t fillColour = 0xFFFFFF;  // white: the foreground of drawings

    WorkCanvas(std::int32_t width, std::int32_t height);

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    // Each is limited to 0..maxSize. A new size replaces the surface by one
    // of the background colour with the old surface's top-left part on it.
    void setWidth(std::int32_t width) { setSize(width, height_); }
    void setHeight(std::int32_t height) { setSize(width_, height); }
    void setSize(std::int32_t width, std::int32_t height);

    // Fills the surface with the background colour, the platform's button face.
    void clear();

    // Whether capture(width, height) can give a bitmap file image at all:
    // both sides above 0 and the image within one block.
    bool canCapture(std::int32_t width, std::int32_t height) const;

    // Draws a registered picture at left, top, stretched to width x height
    // (nothing: its own size), combined by copy mode 1 to 5 (plain copy when
    // there is none). Two-colour pictures take the fill colour as foreground
    // and the background colour as background; transparency is composited
    // onto white. An unregistered handle draws nothing.
    void drawPicture(PictureHandle handle, std::int32_t left, std::int32_t top,
                     std::optional<std::int32_t> width = std::nullopt,
                     std::optional<std::int32_t> height = std::nullopt,
                     std::optional<std::int32_t> copyMode = std::nullopt);

    // Draws opaque rows stretched to width x height at left, top, as a plain
    // copy, the way a picture of those pixels is drawn.
    void drawRows(const RowSource& rows, std::int32_t left, std::int32_t top, std::int32_t width,
                  std::int32_t height);

    // The surface as a bitmap file image of width x height: 0 for the
    // surface's own size, negative for that many percent of it (at least 10).
    // Empty when either comes to 0 or less or the image cannot be had.
    Bytes capture(std::int32_t width = 0, std::int32_t height = 0);

    // Null when the surface cannot be had for the current size.
    const Raster* surface();

private:
    Raster* currentSurface();
    std::int32_t surfaceWidth() const { return std::max(width_, 1); }
    std::int32_t surfaceHeight() const { return std::max(height_, 1); }

    std::int32_t width_;
    std::int32_t height_;
    std::optional<Raster> surface_;
    bool resized_ = false;  // the surface is still of an earlier size
};

// The program's one work canvas, 48 x 32 when first used.
WorkCanvas& workCanvas();
