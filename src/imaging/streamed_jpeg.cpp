#include "imaging/streamed_jpeg.h"

#include "imaging/raster.h"

bool StreamedJpegRows::start() {
    if (!stream_.start(0)) return false;
    row_.assign(static_cast<std::size_t>(stream_.width()) * JpegStream::bytesPerPixel, 0);
    return true;
}

bool StreamedJpegRows::finish() {
    if (failed_) return false;
    // Rows below the drawn part are still decoded, so a fault anywhere in
    // the data fails the drawing as it fails the whole decode.
    while (stream_.nextRow() < stream_.height()) {
        std::uint8_t* row = row_.data();
        if (!stream_.readRows(&row, 1)) return false;
    }
    return stream_.finish();
}

PixelRow StreamedJpegRows::rowInPlace(std::int32_t y) const {
    if (y < stream_.nextRow() - 1) failed_ = true;
    while (!failed_ && stream_.nextRow() <= y) {
        std::uint8_t* row = row_.data();
        if (!stream_.readRows(&row, 1)) failed_ = true;
    }
    return {row_.data(), static_cast<int>(JpegStream::bytesPerPixel)};
}

void StreamedJpegRows::fetchRow(std::int32_t y, std::int32_t x, std::int32_t count, std::uint32_t* out) const {
    const std::uint8_t* p = rowInPlace(y).bytes + JpegStream::bytesPerPixel * static_cast<std::size_t>(x);
    for (std::int32_t i = 0; i < count; ++i, p += 3) out[i] = pixelFromBgr(p[0], p[1], p[2]);
}
