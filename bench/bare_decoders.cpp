#include "bench/bare_decoders.h"

#include <png.h>

// jpeglib.h needs the standard declarations before it.
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>

#include "app/bytes.h"

namespace {

struct ErrorExit {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jumpBack(j_common_ptr decompressor) {
    std::longjmp(reinterpret_cast<ErrorExit*>(decompressor->err)->jump, 1);
}

// The library's default output into a raster of the whole picture, made the
// way the program makes its rasters: the same work a load does, with none
// of the program's own code.
bool decodeScanlines(jpeg_decompress_struct& decompressor, Bytes& raster) {
    jpeg_read_header(&decompressor, TRUE);
    jpeg_start_decompress(&decompressor);
    const std::size_t rowLength = std::size_t(decompressor.output_width) * decompressor.output_components;
    raster = Bytes::tryOfSize(rowLength * decompressor.output_height);
    if (raster.empty()) return false;
    while (decompressor.output_scanline < decompressor.output_height) {
        JSAMPROW rows[1] = {raster.data() + rowLength * decompressor.output_scanline};
        jpeg_read_scanlines(&decompressor, rows, 1);
    }
    jpeg_finish_decompress(&decompressor);
    return true;
}

}  // namespace

bool bareJpegDecode(ByteView data) {
    jpeg_decompress_struct decompressor{};
    ErrorExit error{};
    Bytes raster;
    decompressor.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = jumpBack;
    bool decoded = false;
    if (setjmp(error.jump) == 0) {
        jpeg_create_decompress(&decompressor);
        jpeg_mem_src(&decompressor, data.data, static_cast<unsigned long>(data.size));
        decoded = decodeScanlines(decompressor, raster);
    }
    jpeg_destroy_decompress(&decompressor);
    return decoded;
}

bool barePngDecode(ByteView data) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, data.data, data.size)) return false;
    image.format = PNG_FORMAT_BGRA;
    Bytes pixels = Bytes::tryOfSize(PNG_IMAGE_SIZE(image));
    const bool done =
        !pixels.empty() && png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return done;
}
