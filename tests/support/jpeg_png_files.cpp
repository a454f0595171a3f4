#include "support/jpeg_png_files.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>
#include <png.h>
#include <zlib.h>

namespace jpeg_png_files {

namespace {

// Both libraries report fatal errors by jumping back to a setjmp; a
// writer's setjmp function keeps only trivially destructible locals, and
// everything owned lives in the caller.

// ---------------------------------------------------------------- JPEG

struct JpegCompression {
    jpeg_compress_struct compressor{};
    jpeg_error_mgr errors{};
    std::jmp_buf abandon{};
    unsigned char* buffer = nullptr;  // the library's output block
    unsigned long size = 0;

    JpegCompression() = default;
    JpegCompression(const JpegCompression&) = delete;
    JpegCompression& operator=(const JpegCompression&) = delete;
    ~JpegCompression() {
        jpeg_destroy_compress(&compressor);
        std::free(buffer);
    }
};

struct JpegDecompression {
    jpeg_decompress_struct decompressor{};
    jpeg_error_mgr errors{};
    std::jmp_buf abandon{};

    JpegDecompression() = default;
    JpegDecompression(const JpegDecompression&) = delete;
    JpegDecompression& operator=(const JpegDecompression&) = delete;
    ~JpegDecompression() { jpeg_destroy_decompress(&decompressor); }
};

template <typename Session>
[[noreturn]] void jumpBack(j_common_ptr common) {
    std::longjmp(static_cast<Session*>(common->client_data)->abandon, 1);
}

void stayQuiet(j_common_ptr) {}

// Before the library object is created: creation keeps these two fields.
template <typename Session, typename LibraryObject>
void connectErrors(Session& session, LibraryObject& object) {
    jpeg_std_error(&session.errors);
    session.errors.error_exit = jumpBack<Session>;
    session.errors.output_message = stayQuiet;
    object.err = &session.errors;
    object.client_data = &session;
}

J_COLOR_SPACE inputSpace(JpegColours colours) {
    switch (colours) {
    case JpegColours::Ycc:
    case JpegColours::Rgb: return JCS_RGB;
    case JpegColours::Grey: return JCS_GRAYSCALE;
    case JpegColours::Cmyk:
    case JpegColours::Ycck: return JCS_CMYK;
    case JpegColours::Pair: return JCS_UNKNOWN;
    }
    return JCS_UNKNOWN;
}

// The stored colour space and sampling; everything else stays at the
// library's defaults.
void setStorage(jpeg_compress_struct& compressor, const JpegDescription& description) {
    if (description.colours == JpegColours::Rgb) jpeg_set_colorspace(&compressor, JCS_RGB);
    if (description.colours == JpegColours::Ycck) jpeg_set_colorspace(&compressor, JCS_YCCK);
    if (description.colours == JpegColours::Ycc || description.colours == JpegColours::Ycck) {
        // Luma and, in YCCK, black are the full-resolution components.
        const int last = description.colours == JpegColours::Ycck ? 3 : 0;
        for (int i : {0, last}) {
            compressor.comp_info[i].h_samp_factor = description.lumaHorizontal;
            compressor.comp_info[i].v_samp_factor = description.lumaVertical;
        }
    }
}

bool compress(JpegCompression& session, const JpegDescription& description, const std::vector<std::uint8_t>& samples,
              const std::vector<JOCTET>& comment) {
    jpeg_compress_struct& compressor = session.compressor;
    if (setjmp(session.abandon) != 0) return false;
    jpeg_create_compress(&compressor);
    jpeg_mem_dest(&compressor, &session.buffer, &session.size);
    compressor.image_width = static_cast<JDIMENSION>(description.width);
    compressor.image_height = static_cast<JDIMENSION>(description.height);
    compressor.input_components = jpegChannels(description.colours);
    compressor.in_color_space = inputSpace(description.colours);
    jpeg_set_defaults(&compressor);
    setStorage(compressor, description);
    jpeg_set_quality(&compressor, description.quality, TRUE);
    if (description.progressive) jpeg_simple_progression(&compressor);
    jpeg_start_compress(&compressor, TRUE);
    if (description.commentLength > 0) {
        jpeg_write_marker(&compressor, JPEG_COM, comment.data(), static_cast<unsigned>(comment.size()));
    }
    const std::size_t rowLength = std::size_t(description.width) * compressor.input_components;
    while (compressor.next_scanline < compressor.image_height) {
        JSAMPROW row = const_cast<JSAMPLE*>(samples.data() + compressor.next_scanline * rowLength);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    return true;
}

bool decompressBare(JpegDecompression& session, ByteView data, BareJpeg& result) {
    jpeg_decompress_struct& decompressor = session.decompressor;
    if (setjmp(session.abandon) != 0) return false;
    jpeg_create_decompress(&decompressor);
    jpeg_mem_src(&decompressor, data.data, static_cast<unsigned long>(data.size));
    jpeg_read_header(&decompressor, TRUE);
    jpeg_start_decompress(&decompressor);
    result.width = static_cast<std::int32_t>(decompressor.output_width);
    result.height = static_cast<std::int32_t>(decompressor.output_height);
    result.channels = decompressor.output_components;
    const std::size_t rowLength = std::size_t(decompressor.output_width) * decompressor.output_components;
    result.samples.resize(rowLength * decompressor.output_height);
    while (decompressor.output_scanline < decompressor.output_height) {
        JSAMPROW row = result.samples.data() + decompressor.output_scanline * rowLength;
        jpeg_read_scanlines(&decompressor, &row, 1);
    }
    jpeg_finish_decompress(&decompressor);
    return true;
}

std::size_t findLast(const FileBytes& bytes, std::uint8_t first, std::uint8_t second) {
    for (std::size_t i = bytes.size() - 1; i > 0; --i) {
        if (bytes[i - 1] == first && bytes[i] == second) return i - 1;
    }
    throw std::invalid_argument("marker not found");
}

bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// ---------------------------------------------------------------- PNG

int colourType(PngColours colours) {
    switch (colours) {
    case PngColours::Grey: return PNG_COLOR_TYPE_GRAY;
    case PngColours::GreyAlpha: return PNG_COLOR_TYPE_GRAY_ALPHA;
    case PngColours::Rgb: return PNG_COLOR_TYPE_RGB;
    case PngColours::Rgba: return PNG_COLOR_TYPE_RGB_ALPHA;
    case PngColours::Palette: return PNG_COLOR_TYPE_PALETTE;
    }
    return PNG_COLOR_TYPE_GRAY;
}

// One row of samples as the file stores it: big-endian 16-bit samples, or
// samples below 8 bits packed from the high bits of each byte down.
std::vector<std::uint8_t> packRow(const std::uint16_t* samples, std::size_t count, int bitDepth) {
    std::vector<std::uint8_t> row;
    if (bitDepth == 16) {
        for (std::size_t i = 0; i < count; ++i) {
            row.push_back(static_cast<std::uint8_t>(samples[i] >> 8));
            row.push_back(static_cast<std::uint8_t>(samples[i]));
        }
        return row;
    }
    const std::size_t perByte = 8 / static_cast<std::size_t>(bitDepth);
    row.assign((count + perByte - 1) / perByte, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const int shift = 8 - bitDepth * static_cast<int>(i % perByte + 1);
        row[i / perByte] = static_cast<std::uint8_t>(row[i / perByte] | (samples[i] << shift));
    }
    return row;
}

void appendToFile(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<FileBytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

struct PngPalette {
    std::vector<png_color> colours;
    std::vector<png_byte> alphas;  // empty when every entry is opaque
};

PngPalette splitPalette(const std::vector<std::uint32_t>& entries) {
    PngPalette palette;
    bool translucent = false;
    for (std::uint32_t entry : entries) {
        palette.colours.push_back({static_cast<png_byte>(entry >> 16), static_cast<png_byte>(entry >> 8),
                                   static_cast<png_byte>(entry)});
        palette.alphas.push_back(static_cast<png_byte>(entry >> 24));
        translucent = translucent || entry >> 24 != 0xFF;
    }
    if (!translucent) palette.alphas.clear();
    return palette;
}

struct PngWriting {
    png_structp png = nullptr;
    png_infop info = nullptr;

    PngWriting() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
        if (png != nullptr) info = png_create_info_struct(png);
    }
    PngWriting(const PngWriting&) = delete;
    PngWriting& operator=(const PngWriting&) = delete;
    ~PngWriting() { png_destroy_write_struct(&png, &info); }
};

bool writePngRows(PngWriting& writing, const PngDescription& description, PngPalette& palette,
                  std::vector<png_bytep>& rows, FileBytes& out) {
    if (writing.info == nullptr) return false;
    if (setjmp(png_jmpbuf(writing.png)) != 0) return false;
    png_set_write_fn(writing.png, &out, appendToFile, flushNothing);
    png_set_IHDR(writing.png, writing.info, description.width, description.height, description.bitDepth,
                 colourType(description.colours), description.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (description.colours == PngColours::Palette) {
        png_set_PLTE(writing.png, writing.info, palette.colours.data(), static_cast<int>(palette.colours.size()));
        if (!palette.alphas.empty()) {
            png_set_tRNS(writing.png, writing.info, palette.alphas.data(), static_cast<int>(palette.alphas.size()),
                         nullptr);
        }
    }
    png_write_info(writing.png, writing.info);
    png_write_image(writing.png, rows.data());
    png_write_end(writing.png, nullptr);
    return true;
}

bool writeBlackRows(PngWriting& writing, std::uint32_t width, std::uint32_t height, const std::vector<png_byte>& row,
                    FileBytes& out) {
    if (writing.info == nullptr) return false;
    if (setjmp(png_jmpbuf(writing.png)) != 0) return false;
    png_set_write_fn(writing.png, &out, appendToFile, flushNothing);
    png_set_IHDR(writing.png, writing.info, width, height, 1, PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writing.png, writing.info);
    for (std::uint32_t y = 0; y < height; ++y) png_write_row(writing.png, row.data());
    png_write_end(writing.png, nullptr);
    return true;
}

std::uint32_t readBigEndian(const FileBytes& bytes, std::size_t offset) {
    return std::uint32_t(bytes[offset]) << 24 | std::uint32_t(bytes[offset + 1]) << 16 |
           std::uint32_t(bytes[offset + 2]) << 8 | bytes[offset + 3];
}

void writeBigEndian(FileBytes& bytes, std::size_t offset, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
}

constexpr std::size_t pngSignatureLength = 8;

}  // namespace

// ---------------------------------------------------------------- JPEG

int jpegChannels(JpegColours colours) {
    switch (colours) {
    case JpegColours::Ycc:
    case JpegColours::Rgb: return 3;
    case JpegColours::Grey: return 1;
    case JpegColours::Cmyk:
    case JpegColours::Ycck: return 4;
    case JpegColours::Pair: return 2;
    }
    return 0;
}

std::vector<std::uint8_t> gradientSamples(std::int32_t width, std::int32_t height, int channels) {
    std::vector<std::uint8_t> samples;
    const int across = std::max(width - 1, 1);
    const int down = std::max(height - 1, 1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int ramps[4] = {x * 255 / across, y * 255 / down, (x + y) * 255 / (across + down),
                                  255 - (x * 128 / across + y * 127 / down)};
            for (int c = 0; c < channels; ++c) samples.push_back(static_cast<std::uint8_t>(ramps[c % 4]));
        }
    }
    return samples;
}

FileBytes writeJpeg(const JpegDescription& description) {
    const std::vector<std::uint8_t> samples =
        description.samples.empty()
            ? gradientSamples(description.width, description.height, jpegChannels(description.colours))
            : description.samples;
    const std::vector<JOCTET> comment(description.commentLength, 'c');
    JpegCompression session;
    connectErrors(session, session.compressor);
    if (!compress(session, description, samples, comment)) throw std::runtime_error("libjpeg could not write the file");
    return FileBytes(session.buffer, session.buffer + session.size);
}

FileBytes repeatLastScan(const FileBytes& jpeg, std::size_t count) {
    const std::size_t scanStart = findLast(jpeg, 0xFF, 0xDA);
    const std::size_t end = findLast(jpeg, 0xFF, 0xD9);
    FileBytes out(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    for (std::size_t i = 0; i < count; ++i) {
        out.insert(out.end(), jpeg.begin() + static_cast<std::ptrdiff_t>(scanStart),
                   jpeg.begin() + static_cast<std::ptrdiff_t>(end));
    }
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

void setJpegSize(FileBytes& jpeg, std::uint16_t width, std::uint16_t height) {
    std::size_t at = 2;  // past the start-of-image marker
    while (at + 9 < jpeg.size() && jpeg[at] == 0xFF) {
        const std::uint8_t marker = jpeg[at + 1];
        if (isFrameHeader(marker)) {
            jpeg[at + 5] = static_cast<std::uint8_t>(height >> 8);
            jpeg[at + 6] = static_cast<std::uint8_t>(height);
            jpeg[at + 7] = static_cast<std::uint8_t>(width >> 8);
            jpeg[at + 8] = static_cast<std::uint8_t>(width);
            return;
        }
        at += 2 + (std::size_t(jpeg[at + 2]) << 8 | jpeg[at + 3]);
    }
    throw std::invalid_argument("no frame header");
}

std::optional<BareJpeg> decodeJpegBare(ByteView data) {
    JpegDecompression session;
    connectErrors(session, session.decompressor);
    BareJpeg result;
    if (!decompressBare(session, data, result)) return std::nullopt;
    return result;
}

// ---------------------------------------------------------------- PNG

int pngChannels(PngColours colours) {
    switch (colours) {
    case PngColours::Grey:
    case PngColours::Palette: return 1;
    case PngColours::GreyAlpha: return 2;
    case PngColours::Rgb: return 3;
    case PngColours::Rgba: return 4;
    }
    return 0;
}

std::vector<std::uint16_t> patternSamples(std::uint32_t width, std::uint32_t height, int channels, int bitDepth) {
    const std::uint32_t mask = (1u << bitDepth) - 1;
    const std::uint32_t spread = bitDepth == 16 ? 257 : 1;  // reach the high byte too
    std::vector<std::uint16_t> samples;
    for (std::uint32_t y = 0; y < height; ++y) {
        for (std::uint32_t x = 0; x < width; ++x) {
            for (int c = 0; c < channels; ++c) {
                const std::uint32_t value = (x * 37 + y * 101 + static_cast<std::uint32_t>(c) * 53) * spread;
                samples.push_back(static_cast<std::uint16_t>(value & mask));
            }
        }
    }
    return samples;
}

FileBytes writePng(const PngDescription& description) {
    const int channels = pngChannels(description.colours);
    const std::vector<std::uint16_t> samples =
        description.samples.empty()
            ? patternSamples(description.width, description.height, channels, description.bitDepth)
            : description.samples;
    const std::size_t rowSamples = std::size_t(description.width) * channels;
    std::vector<std::vector<std::uint8_t>> packed;
    std::vector<png_bytep> rows;
    for (std::uint32_t y = 0; y < description.height; ++y) {
        packed.push_back(packRow(samples.data() + y * rowSamples, rowSamples, description.bitDepth));
    }
    for (auto& row : packed) rows.push_back(row.data());
    PngPalette palette = splitPalette(description.palette);
    FileBytes out;
    PngWriting writing;
    if (!writePngRows(writing, description, palette, rows, out)) throw std::runtime_error("libpng could not write");
    return out;
}

FileBytes writeBlackPng(std::uint32_t width, std::uint32_t height) {
    const std::vector<png_byte> row((std::size_t(width) + 7) / 8, 0);
    FileBytes out;
    PngWriting writing;
    if (!writeBlackRows(writing, width, height, row, out)) throw std::runtime_error("libpng could not write");
    return out;
}

std::optional<std::vector<std::uint8_t>> decodePngBare(ByteView data) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, data.data, data.size) == 0) return std::nullopt;
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint8_t> pixels(PNG_IMAGE_SIZE(image));
    const bool read = png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    if (!read) return std::nullopt;
    return pixels;
}

std::vector<PngChunk> pngChunks(const FileBytes& png) {
    std::vector<PngChunk> chunks;
    std::size_t at = pngSignatureLength;
    while (at + 8 <= png.size()) {
        PngChunk chunk;
        chunk.offset = at;
        chunk.length = readBigEndian(png, at);
        chunk.type.assign(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                          png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        chunks.push_back(chunk);
        at += 12 + std::size_t(chunk.length);  // length, type, data, CRC
    }
    return chunks;
}

PngChunk firstChunk(const FileBytes& png, const std::string& type) {
    for (const PngChunk& chunk : pngChunks(png)) {
        if (chunk.type == type) return chunk;
    }
    throw std::invalid_argument("no such chunk");
}

void refreshChunkCrc(FileBytes& png, const PngChunk& chunk) {
    const std::size_t typeStart = chunk.offset + 4;
    const std::size_t crcStart = typeStart + 4 + chunk.length;
    const uLong crc = crc32(0L, png.data() + typeStart, static_cast<uInt>(4 + chunk.length));
    writeBigEndian(png, crcStart, static_cast<std::uint32_t>(crc));
}

void setPngSize(FileBytes& png, std::uint32_t width, std::uint32_t height) {
    const PngChunk header = firstChunk(png, "IHDR");
    writeBigEndian(png, header.offset + 8, width);
    writeBigEndian(png, header.offset + 12, height);
    refreshChunkCrc(png, header);
}

}  // namespace jpeg_png_files
