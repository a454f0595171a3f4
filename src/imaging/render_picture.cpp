#include "imaging/render_picture.h"

#include "imaging/icon_drawing.h"
#include "imaging/picture_rows.h"

void renderPicture(const Picture& picture, Surface& surface, std::int32_t x, std::int32_t y, std::int32_t width,
                   std::int32_t height, RasterOp op, std::uint32_t compositeBackground) {
    const StretchQuality quality = stretchQuality();
    if (width == ownSize) width = picture.width;
    if (height == ownSize) height = picture.height;
    if (picture.icon) {
        drawIcon(*picture.icon, surface.raster, x, y, width, height, quality);
        return;
    }
    const auto rows = pictureRows(picture, compositeBackground, surface.foreground, surface.background);
    if (rows) stretchDraw(*rows, surface.raster, x, y, width, height, quality, op);
}
