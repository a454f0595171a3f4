#pragma once

#include <cstdint>
#include <vector>

#include "app/byte_view.h"
#include "imaging/decoders/jpeg_stream.h"
#include "imaging/stretch.h"

// A JPEG's rows decoded as they are asked for, top row first, without ever
// holding the whole picture: a stretch that reads its rows in order draws a
// JPEG in one pass, in a fraction of the memory and time of decoding it
// first. The pixels are exactly those of the Jpeg picture of the same data.
//
// The decoding behind the const reads is this object's own business, so it
// lives in mutable members.
class StreamedJpegRows : public RowSource {
public:
    explicit StreamedJpegRows(ByteView data) : stream_(data) {}

    // False for data the JPEG decoder refuses.
    bool start();
    // The decode must also end well for the drawing to be the picture.
    bool finish();
    // Whether the decode failed, or a row was asked for after later ones
    // (gone by then): what was drawn is then not the picture.
    bool failed() const { return failed_; }

    std::int32_t width() const override { return stream_.width(); }
    std::int32_t height() const override { return stream_.height(); }
    void fetchRow(std::int32_t y, std::int32_t x, std::int32_t count, std::uint32_t* out) const override;
    PixelRow rowInPlace(std::int32_t y) const override;

private:
    mutable JpegStream stream_;
    mutable std::vector<std::uint8_t> row_;
    mutable bool failed_ = false;
};
