#pragma once

// A JPEG decode through libjpeg, a batch of scanlines at a time, as blue,
// green, red rows from the top. The library's fatal errors end the decode
// (every call returns false from then on); a truncated file still decodes as
// far as its data goes. Files are bounded: at most maxPicturePixels, a
// limited number of scans, and the library's picture-sized buffers must fit
// in memory together with what the caller keeps.

#include <cstddef>
#include <cstdint>
#include <memory>

#include "app/byte_view.h"

struct JpegSession;

class JpegStream {
public:
    static constexpr std::size_t bytesPerPixel = 3;  // blue, green, red

    // data must outlive the stream.
    explicit JpegStream(ByteView data);
    JpegStream(const JpegStream&) = delete;
    JpegStream& operator=(const JpegStream&) = delete;
    ~JpegStream();

    // Reads the header and starts decompressing. False for data the library
    // cannot read, a picture beyond the limits, or one whose decode would
    // not fit in memory along with keptBytesPerPixel bytes a pixel that the
    // caller will hold.
    bool start(std::size_t keptBytesPerPixel);

    std::int32_t width() const;
    std::int32_t height() const;
    // The number of the next scanline to come, 0 for the top row.
    std::int32_t nextRow() const;

    // Decodes the next count scanlines (at most the rows left) into rows,
    // each width() x 3 bytes. False on a fatal error.
    bool readRows(std::uint8_t* const* rows, std::int32_t count);
    // Ends the decode; false when the library reports a fatal error at the end.
    bool finish();

private:
    // The library keeps pointers into the session, so it never moves.
    std::unique_ptr<JpegSession> session_;
    bool failed_ = false;
};
