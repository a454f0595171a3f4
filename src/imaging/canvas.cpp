#include "imaging/canvas.h"

#include <algorithm>

#include "imaging/bitmap_file.h"
#include "imaging/display.h"
#include "imaging/render_picture.h"
#include "imaging/stretch.h"

namespace {

constexpr std::uint32_t compositeBackground = 0xFFFFFF;  // white

std::optional<Raster> surfaceOfBackground(std::int32_t width, std::int32_t height) {
    std::optional<Raster> surface = Raster::create(std::max(width, 1), std::max(height, 1));
    if (surface) surface->fill(pixelFromColour(buttonFaceColour()));
    return surface;
}

RasterOp rasterOpOf(std::optional<std::int32_t> copyMode) {
    if (copyMode && *copyMode >= 1 && *copyMode <= 5) return static_cast<RasterOp>(*copyMode);
    return RasterOp::Copy;
}

// A captured side: the surface's own, a percentage of it, or as asked.
std::int64_t captureSide(std::int32_t asked, std::int32_t surfaceSide) {
    if (asked == 0) return surfaceSide;
    if (asked > 0) return asked;
    const std::int64_t percent = std::max<std::int64_t>(-std::int64_t(asked), 10);
    return (surfaceSide * percent + 50) / 100;  // halves round up
}

// Whether a bitmap file image of width x height fits one block, checked
// before anything of that size is made.
bool bitmapFileFits(std::int64_t width, std::int64_t height) {
    const std::int64_t rowLength = (3 * width + 3) / 4 * 4;
    return height <= (INT32_MAX - 54) / rowLength;
}

}  // namespace

WorkCanvas::WorkCanvas(std::int32_t width, std::int32_t height)
    : width_(width), height_(height), surface_(surfaceOfBackground(width, height)) {}

void WorkCanvas::setSize(std::int32_t width, std::int32_t height) {
    width = std::clamp(width, 0, maxSize);
    height = std::clamp(height, 0, maxSize);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    resized_ = true;
}

Raster* WorkCanvas::currentSurface() {
    if (resized_) {
        resized_ = false;
        std::optional<Raster> replacement = surfaceOfBackground(width_, height_);
        if (replacement && surface_) replacement->copyTopLeftFrom(*surface_);
        surface_ = std::move(replacement);
    }
    return surface_ ? &*surface_ : nullptr;
}

const Raster* WorkCanvas::surface() { return currentSurface(); }

void WorkCanvas::clear() {
    if (Raster* surface = currentSurface()) surface->fill(pixelFromColour(buttonFaceColour()));
}

bool WorkCanvas::canCapture(std::int32_t width, std::int32_t height) const {
    const std::int64_t targetWidth = captureSide(width, surfaceWidth());
    const std::int64_t targetHeight = captureSide(height, surfaceHeight());
    return targetWidth > 0 && targetHeight > 0 && bitmapFileFits(targetWidth, targetHeight);
}

void WorkCanvas::drawPicture(PictureHandle handle, std::int32_t left, std::int32_t top,
                             std::optional<std::int32_t> width, std::optional<std::int32_t> height,
                             std::optional<std::int32_t> copyMode) {
    const Picture* picture = registeredPicture(handle);
    Raster* raster = picture != nullptr ? currentSurface() : nullptr;
    if (raster == nullptr) return;
    Surface surface{*raster, fillColour, buttonFaceColour()};
    renderPicture(*picture, surface, left, top, width.value_or(ownSize), height.value_or(ownSize),
                  rasterOpOf(copyMode), compositeBackground);
}

void WorkCanvas::drawRows(const RowSource& rows, std::int32_t left, std::int32_t top, std::int32_t width,
                          std::int32_t height) {
    if (Raster* raster = currentSurface()) stretchDraw(rows, *raster, left, top, width, height, stretchQuality());
}

Bytes WorkCanvas::capture(std::int32_t width, std::int32_t height) {
    if (!canCapture(width, height)) return Bytes();
    const Raster* surface = currentSurface();
    if (surface == nullptr) return Bytes();
    const std::int64_t targetWidth = captureSide(width, surface->width());
    const std::int64_t targetHeight = captureSide(height, surface->height());
    if (targetWidth == surface->width() && targetHeight == surface->height()) return encodeBitmapFile(*surface);
    const std::optional<Raster> stretched =
        stretchToSize(RasterRows(*surface), static_cast<std::int32_t>(targetWidth),
                      static_cast<std::int32_t>(targetHeight), stretchQuality());
    return stretched ? encodeBitmapFile(*stretched) : Bytes();
}

WorkCanvas& workCanvas() {
    static WorkCanvas canvas(48, 32);
    return canvas;
}
