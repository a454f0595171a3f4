// Any bytes through the JPEG decoder, whole and as the rows the square
// draws while decoding.

#include <cstddef>
#include <cstdint>

#include "imaging/decoders/decoders.h"
#include "imaging/streamed_jpeg.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes{data, size};
    decodeJpeg(bytes);
    StreamedJpegRows rows(bytes);
    if (rows.start()) {
        Raster square = *Raster::create(16, 16);
        stretchDraw(rows, square, 0, 0, 16, 16, StretchQuality::Smooth);
        rows.finish();
    }
    return 0;
}
