// JPEG: the whole picture decoded into the Jpeg layout (blue, green, red,
// bottom row first), each scanline straight into its final row.

#include <algorithm>
#include <optional>

#include "imaging/decoders/decoders.h"
#include "imaging/decoders/jpeg_stream.h"

namespace {

// The raster row that scanline number line goes to: the bottom row first.
std::uint8_t* rasterRow(Bytes& raster, const JpegStream& stream, std::int32_t line) {
    const std::size_t rowLength = std::size_t(stream.width()) * JpegStream::bytesPerPixel;
    return raster.data() + std::size_t(stream.height() - 1 - line) * rowLength;
}

bool readAllRows(JpegStream& stream, Bytes& raster) {
    constexpr std::int32_t batch = 16;
    std::uint8_t* rows[batch];
    while (stream.nextRow() < stream.height()) {
        const std::int32_t first = stream.nextRow();
        const std::int32_t count = std::min(batch, stream.height() - first);
        for (std::int32_t i = 0; i < count; ++i) rows[i] = rasterRow(raster, stream, first + i);
        if (!stream.readRows(rows, count)) return false;
    }
    return true;
}

}  // namespace

std::optional<Picture> decodeJpeg(ByteView data) {
    JpegStream stream(data);
    if (!stream.start(JpegStream::bytesPerPixel)) return std::nullopt;
    Bytes raster = Bytes::tryOfSize(std::size_t(stream.width()) * stream.height() * JpegStream::bytesPerPixel);
    if (raster.empty() || !readAllRows(stream, raster) || !stream.finish()) return std::nullopt;

    Picture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = stream.width();
    picture.height = stream.height();
    picture.pixels = std::move(raster);
    return picture;
}
