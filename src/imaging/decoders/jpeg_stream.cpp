// The library reports fatal errors by calling error_exit, which must not
// return: it jumps back to the setjmp at the start of whichever method made
// the library call. Those methods keep only trivially destructible locals,
// so the jump skips no destructor; after a jump the stream is failed for
// good and its session is only destroyed.

#include "imaging/decoders/jpeg_stream.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE declared
#include <optional>

#include <jerror.h>
#include <jpeglib.h>

#include "imaging/limits.h"
#include "imaging/memory_budget.h"

namespace {

constexpr std::size_t sourcePieceSize = 4096;
constexpr std::size_t bytesPerOutputPixel = JpegStream::bytesPerPixel;
constexpr std::size_t cmykBytesPerPixel = 4;

// A progressive file may repeat scans without end, and every scan walks the
// whole picture, so a small file could keep the decoder busy for minutes.
// Common encoders write ten scans or a few more; a hundred leaves ample
// room and keeps a hostile file's cost to a few ordinary decodes.
constexpr int maxScans = 100;

}  // namespace

// What the library needs from us for one decode, and what its callbacks
// reach through client_data. It stays where it was created: the library
// keeps pointers into it.
struct JpegSession {
    jpeg_decompress_struct decompressor{};
    jpeg_error_mgr errors{};
    jpeg_source_mgr source{};
    jpeg_progress_mgr progress{};
    std::jmp_buf abandon{};
    ByteView data;
    std::size_t position = 0;
    JSAMPARRAY cmykLine = nullptr;  // from the library's pool, made at the first CMYK row

    JpegSession() = default;
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;
    // Safe whether or not the decompressor was ever created: the library
    // leaves a zeroed structure alone.
    ~JpegSession() { jpeg_destroy_decompress(&decompressor); }
};

namespace {

JpegSession& sessionOf(j_common_ptr common) { return *static_cast<JpegSession*>(common->client_data); }
JpegSession& sessionOf(j_decompress_ptr decompressor) {
    return *static_cast<JpegSession*>(decompressor->client_data);
}

[[noreturn]] void abandonDecode(j_common_ptr common) { std::longjmp(sessionOf(common).abandon, 1); }

// The library's messages go nowhere: a failed load has no text.
void discardMessage(j_common_ptr) {}

void startSource(j_decompress_ptr) {}

void endSource(j_decompress_ptr) {}

// The end-of-image marker handed out once the data has run out.
const JOCTET endOfImage[2] = {0xFF, JPEG_EOI};

// Hands the library the next piece of the data. An empty block is a fatal
// error. Data that ends before the picture does is a warning only: the
// library is given an end-of-image marker and fills in what is missing
// itself, so a truncated file shows as far as its data goes.
boolean fillSource(j_decompress_ptr decompressor) {
    JpegSession& session = sessionOf(decompressor);
    jpeg_source_mgr& source = session.source;
    const std::size_t remaining = session.data.size - session.position;
    if (remaining == 0) {
        if (session.data.size == 0) ERREXIT(decompressor, JERR_INPUT_EMPTY);
        WARNMS(decompressor, JWRN_JPEG_EOF);
        source.next_input_byte = endOfImage;
        source.bytes_in_buffer = sizeof endOfImage;
        return TRUE;
    }
    const std::size_t piece = remaining < sourcePieceSize ? remaining : sourcePieceSize;
    source.next_input_byte = session.data.data + session.position;
    source.bytes_in_buffer = piece;
    session.position += piece;
    return TRUE;
}

// Skips count bytes of what the library does not want (markers it does not
// read); a count beyond the data leaves the source at its end.
void skipSource(j_decompress_ptr decompressor, long count) {
    if (count <= 0) return;
    JpegSession& session = sessionOf(decompressor);
    jpeg_source_mgr& source = session.source;
    auto toSkip = static_cast<unsigned long>(count);
    if (toSkip <= source.bytes_in_buffer) {
        source.next_input_byte += toSkip;
        source.bytes_in_buffer -= toSkip;
        return;
    }
    toSkip -= source.bytes_in_buffer;
    source.next_input_byte = nullptr;
    source.bytes_in_buffer = 0;
    const std::size_t remaining = session.data.size - session.position;
    session.position += toSkip < remaining ? toSkip : remaining;
}

void limitScans(j_common_ptr common) {
    if (sessionOf(common).decompressor.input_scan_number > maxScans) abandonDecode(common);
}

void connectSession(JpegSession& session, ByteView data) {
    session.data = data;
    jpeg_std_error(&session.errors);
    session.errors.error_exit = abandonDecode;
    session.errors.output_message = discardMessage;
    session.source.init_source = startSource;
    session.source.fill_input_buffer = fillSource;
    session.source.skip_input_data = skipSource;
    session.source.resync_to_restart = jpeg_resync_to_restart;
    session.source.term_source = endSource;
    session.progress.progress_monitor = limitScans;
    session.decompressor.err = &session.errors;
    session.decompressor.client_data = &session;
}

// Asks the library for blue, green, red straight away: it converts colour
// and grey files alike into the byte order of the Jpeg layout, so no pass
// over the pixels is needed afterwards. Four-channel files come out as
// CMYK and are converted row by row. Files of any other channel count
// (which the library can only hand out unconverted) are refused.
bool chooseOutputColours(jpeg_decompress_struct& decompressor) {
    switch (decompressor.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB: decompressor.out_color_space = JCS_EXT_BGR; return true;
    case JCS_CMYK:
    case JCS_YCCK: decompressor.out_color_space = JCS_CMYK; return true;
    default: return false;
    }
}

std::size_t roundUp(JDIMENSION value, int multiple) {
    const auto step = static_cast<std::size_t>(multiple);
    return (std::size_t(value) + step - 1) / step * step;
}

// Bytes the library will hold for the whole picture's coefficients: files of
// several scans (progressive ones among them) keep every block until the
// last scan is in. Counted the way the library sizes those arrays: each
// component's blocks rounded up to whole sampling groups.
bool coefficientBytes(jpeg_decompress_struct& decompressor, std::size_t& total) {
    total = 0;
    if (!jpeg_has_multiple_scans(&decompressor)) return true;
    for (int i = 0; i < decompressor.num_components; ++i) {
        const jpeg_component_info& component = decompressor.comp_info[i];
        const std::size_t across = roundUp(component.width_in_blocks, component.h_samp_factor);
        const std::size_t down = roundUp(component.height_in_blocks, component.v_samp_factor);
        std::size_t blocks = 0;
        std::size_t bytes = 0;
        if (!multiplySizes(across, down, blocks) || !multiplySizes(blocks, sizeof(JBLOCK), bytes) ||
            !addSizes(total, bytes, total)) {
            return false;
        }
    }
    return true;
}

// Whether the library's buffers for the whole picture fit in memory along
// with what the caller keeps of it.
bool decodeFits(jpeg_decompress_struct& decompressor, std::size_t keptBytesPerPixel) {
    const JDIMENSION width = decompressor.output_width;
    const JDIMENSION height = decompressor.output_height;
    if (!isAcceptedPictureSize(width, height)) return false;
    const std::size_t kept = std::size_t(width) * height * keptBytesPerPixel;
    std::size_t coefficients = 0;
    std::size_t together = 0;
    return coefficientBytes(decompressor, coefficients) && addSizes(kept, coefficients, together) &&
           memoryCanHold(together);
}

// Adobe writes CMYK inverted (0 is full ink), so each colour is its
// stored ink value scaled by the stored black, rounded to nearest.
std::uint8_t inkTimesBlack(unsigned ink, unsigned black) {
    return static_cast<std::uint8_t>((ink * black + 127) / 255);
}

void cmykRowToBgr(const JSAMPLE* cmyk, std::size_t width, std::uint8_t* bgr) {
    for (std::size_t x = 0; x < width; ++x, cmyk += cmykBytesPerPixel, bgr += bytesPerOutputPixel) {
        const unsigned black = cmyk[3];
        bgr[0] = inkTimesBlack(cmyk[2], black);
        bgr[1] = inkTimesBlack(cmyk[1], black);
        bgr[2] = inkTimesBlack(cmyk[0], black);
    }
}

// Decodes scanlines into rows until count more are in or the picture ends.
// Blue-green-red scanlines come straight from the library; CMYK ones pass
// through a row of the library's pool and are converted. The library hands
// out at least one row a call, as the source never suspends; a call that
// brings none ends the decode rather than spinning. A fatal error jumps out
// of here to the caller's setjmp.
bool decodeRows(JpegSession& session, std::uint8_t* const* rows, std::int32_t count) {
    jpeg_decompress_struct& decompressor = session.decompressor;
    const JDIMENSION last = std::min<JDIMENSION>(decompressor.output_scanline + static_cast<JDIMENSION>(count),
                                                 decompressor.output_height);
    if (decompressor.out_color_space != JCS_CMYK) {
        while (decompressor.output_scanline < last) {
            const JDIMENSION done = jpeg_read_scanlines(&decompressor, const_cast<JSAMPARRAY>(rows),
                                                        last - decompressor.output_scanline);
            if (done == 0) return false;
            rows += done;
        }
        return true;
    }
    const JDIMENSION width = decompressor.output_width;
    if (session.cmykLine == nullptr) {
        session.cmykLine = (*decompressor.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decompressor),
                                                             JPOOL_IMAGE, width * cmykBytesPerPixel, 1);
    }
    while (decompressor.output_scanline < last) {
        if (jpeg_read_scanlines(&decompressor, session.cmykLine, 1) == 0) return false;
        cmykRowToBgr(session.cmykLine[0], width, *rows++);
    }
    return true;
}

}  // namespace

JpegStream::JpegStream(ByteView data) : session_(std::make_unique<JpegSession>()) {
    connectSession(*session_, data);
}

JpegStream::~JpegStream() = default;

bool JpegStream::start(std::size_t keptBytesPerPixel) {
    jpeg_decompress_struct& decompressor = session_->decompressor;
    if (setjmp(session_->abandon) != 0) return !(failed_ = true);
    jpeg_create_decompress(&decompressor);
    decompressor.src = &session_->source;
    decompressor.progress = &session_->progress;
    jpeg_read_header(&decompressor, TRUE);
    if (!chooseOutputColours(decompressor)) return !(failed_ = true);
    jpeg_calc_output_dimensions(&decompressor);
    if (!decodeFits(decompressor, keptBytesPerPixel)) return !(failed_ = true);
    jpeg_start_decompress(&decompressor);
    return true;
}

std::int32_t JpegStream::width() const { return static_cast<std::int32_t>(session_->decompressor.output_width); }

std::int32_t JpegStream::height() const { return static_cast<std::int32_t>(session_->decompressor.output_height); }

std::int32_t JpegStream::nextRow() const {
    return static_cast<std::int32_t>(session_->decompressor.output_scanline);
}

bool JpegStream::readRows(std::uint8_t* const* rows, std::int32_t count) {
    if (failed_) return false;
    if (setjmp(session_->abandon) != 0) return !(failed_ = true);
    if (!decodeRows(*session_, rows, count)) failed_ = true;
    return !failed_;
}

bool JpegStream::finish() {
    if (failed_) return false;
    if (setjmp(session_->abandon) != 0) return !(failed_ = true);
    jpeg_finish_decompress(&session_->decompressor);
    return true;
}
