#include "bench/bare_decoders.h"

#include <png.h>

// jpeglib.h needs the standard declarations before it.
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <vector>

namespace {

struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jumpBack(j_common_ptr decompressor) {
    std::longjmp(reinterpret_cast<ErrorExit*>(decompressor->err)->jump, 1);
}

// One scanline buffer reused for every row, the way djpeg writes to a sink:
// the decode itself and nothing else.
bool decodeScanlines(jpeg_decompress_struct& decompressor, std::vector<JSAMPLE>& row) {
    jpeg_read_header(&decompressor, TRUE);
    jpeg_start_decompress(&decompressor);
    row.resize(static_cast<std::size_t>(decompressor.output_width) * decompressor.output_components);
    JSAMPROW rows[1] = {row.data()};
    while (decompressor.output_scanline < decompressor.output_height) jpeg_read_scanlines(&decompressor, rows, 1);
    jpeg_finish_decompress(&decompressor);
    return true;
}

}  // namespace

bool bareJpegDecode(ByteView data) {
    jpeg_decompress_struct decompressor{};
    ErrorExit error{};
    std::vector<JSAMPLE> row;
    decompressor.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpBack;
    bool decoded = false;
    if (setjmp(error.jump) == 0) {
        jpeg_create_decompress(&decompressor);
        jpeg_mem_src(&decompressor, data.data, static_cast<unsigned long>(data.size));
        decoded = decodeScanlines(decompressor, row);
    }
    jpeg_destroy_decompress(&decompressor);
    return decoded;
}

bool barePngDecode(ByteView data) {
    // The output buffer is kept from call to call, so only decoding is timed.
    static std::vector<png_byte> pixels;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data, data.size)) return false;
    image.format = PNG_FORMAT_BGRA;
    pixels.resize(PNG_IMAGE_SIZE(image));
    const bool done = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return done;
}
