// JPEG through libjpeg: the library decodes, this file feeds it the bytes
// from memory, turns its fatal errors into a failed load, bounds what a
// hostile file can make it do, and lays the pixels out as the Jpeg kind
// wants them (blue, green, red, bottom row first).
//
// The library reports fatal errors by calling error_exit, which must not
// return; it jumps back to the one setjmp in runDecoder. Everything that
// needs a destructor lives outside that function, in its caller, so the
// jump skips no destructor.

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstdio>  // jpeglib.h needs FILE declared
#include <optional>

#include <jerror.h>
#include <jpeglib.h>

#include "imaging/decoders/decoders.h"
#include "imaging/limits.h"
#include "imaging/memory_budget.h"

namespace {

constexpr std::size_t sourcePieceSize = 4096;
constexpr std::size_t bytesPerOutputPixel = 3;  // blue, green, red
constexpr std::size_t cmykBytesPerPixel = 4;

// A progressive file may repeat scans without end, and every scan walks the
// whole picture, so a small file could keep the decoder busy for minutes.
// Common encoders write ten scans or a few more; a hundred leaves ample
// room and keeps a hostile file's cost to a few ordinary decodes.
constexpr int maxScans = 100;

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

    JpegSession() = default;
    JpegSession(const JpegSession&) = delete;
    JpegSession& operator=(const JpegSession&) = delete;
    // Safe whether or not the decompressor was ever created: the library
    // leaves a zeroed structure alone.
    ~JpegSession() { jpeg_destroy_decompress(&decompressor); }
};

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

// The raster's size, once the output size is accepted and the raster and
// the library's own picture-sized buffers fit in memory together.
std::optional<std::size_t> rasterBytes(jpeg_decompress_struct& decompressor) {
    const JDIMENSION width = decompressor.output_width;
    const JDIMENSION height = decompressor.output_height;
    if (!isAcceptedPictureSize(width, height)) return std::nullopt;
    const std::size_t raster = std::size_t(width) * height * bytesPerOutputPixel;
    std::size_t coefficients = 0;
    std::size_t together = 0;
    if (!coefficientBytes(decompressor, coefficients) || !addSizes(raster, coefficients, together) ||
        !memoryCanHold(together)) {
        return std::nullopt;
    }
    return raster;
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

// The row of the raster that scanline number line goes to: the Jpeg layout
// keeps the bottom row first.
std::uint8_t* rasterRow(std::uint8_t* raster, const jpeg_decompress_struct& decompressor, JDIMENSION line) {
    const std::size_t rowLength = std::size_t(decompressor.output_width) * bytesPerOutputPixel;
    return raster + std::size_t(decompressor.output_height - 1 - line) * rowLength;
}

// Decodes blue-green-red scanlines straight into their final rows, as
// many at a time as the library offers. The library hands out at least one
// row a call, as the source never suspends; a call that brings none ends
// the decode rather than spinning.
bool readBgrRows(jpeg_decompress_struct& decompressor, std::uint8_t* raster) {
    constexpr JDIMENSION batch = 16;
    JSAMPROW rows[batch];
    while (decompressor.output_scanline < decompressor.output_height) {
        const JDIMENSION first = decompressor.output_scanline;
        const JDIMENSION left = decompressor.output_height - first;
        const JDIMENSION count = left < batch ? left : batch;
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = rasterRow(raster, decompressor, first + i);
        if (jpeg_read_scanlines(&decompressor, rows, count) == 0) return false;
    }
    return true;
}

// Decodes CMYK scanlines into a row of the library's pool and converts
// each into its final row.
bool readCmykRows(jpeg_decompress_struct& decompressor, std::uint8_t* raster) {
    const JDIMENSION width = decompressor.output_width;
    JSAMPARRAY line = (*decompressor.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&decompressor),
                                                        JPOOL_IMAGE, width * cmykBytesPerPixel, 1);
    while (decompressor.output_scanline < decompressor.output_height) {
        std::uint8_t* out = rasterRow(raster, decompressor, decompressor.output_scanline);
        if (jpeg_read_scanlines(&decompressor, line, 1) == 0) return false;
        cmykRowToBgr(line[0], width, out);
    }
    return true;
}

// Every library call of a decode. A fatal library error jumps back to the
// setjmp and the decode fails; only trivially destructible locals live
// here. The raster belongs to the caller, so nothing is skipped.
bool runDecoder(JpegSession& session, Bytes& raster) {
    jpeg_decompress_struct& decompressor = session.decompressor;
    if (setjmp(session.abandon) != 0) return false;
    jpeg_create_decompress(&decompressor);
    decompressor.src = &session.source;
    decompressor.progress = &session.progress;
    jpeg_read_header(&decompressor, TRUE);
    if (!chooseOutputColours(decompressor)) return false;
    jpeg_calc_output_dimensions(&decompressor);
    const std::optional<std::size_t> size = rasterBytes(decompressor);
    if (!size) return false;
    raster = Bytes::tryOfSize(*size);
    if (raster.empty()) return false;
    jpeg_start_decompress(&decompressor);
    const bool complete = decompressor.out_color_space == JCS_CMYK ? readCmykRows(decompressor, raster.data())
                                                                   : readBgrRows(decompressor, raster.data());
    if (!complete) return false;
    jpeg_finish_decompress(&decompressor);
    return true;
}

}  // namespace

std::optional<Picture> decodeJpeg(ByteView data) {
    JpegSession session;
    connectSession(session, data);
    Bytes raster;
    if (!runDecoder(session, raster)) return std::nullopt;

    Picture picture;
    picture.kind = PictureKind::Jpeg;
    picture.width = static_cast<std::int32_t>(session.decompressor.output_width);
    picture.height = static_cast<std::int32_t>(session.decompressor.output_height);
    picture.pixels = std::move(raster);
    return picture;
}
