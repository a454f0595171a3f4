#pragma once

// Writers of JPEG and PNG files into memory, through libjpeg and libpng, from
// pixels made in code; plus the few cuts and edits that turn a good file
// into a broken one. For the decoder tests, fuzz seeds and benchmarks.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/byte_view.h"

namespace jpeg_png_files {

using FileBytes = std::vector<std::uint8_t>;

inline ByteView viewOf(const FileBytes& bytes) { return {bytes.data(), bytes.size()}; }

// ---------------------------------------------------------------- JPEG

// The colours handed to the encoder and how the file stores them.
enum class JpegColours {
    Ycc,   // red, green, blue samples, stored as YCbCr (the usual file)
    Rgb,   // red, green, blue samples, stored as they are (Adobe transform 0)
    Grey,  // one sample a pixel
    Cmyk,  // cyan, magenta, yellow, black samples, stored as given with an Adobe marker, whose
           // readers take them inverted (255 is no ink)
    Ycck,  // the same samples, stored as YCCK
    Pair,  // two samples a pixel, a colour space no reader knows
};

struct JpegDescription {
    std::int32_t width = 16;
    std::int32_t height = 16;
    JpegColours colours = JpegColours::Ycc;
    bool progressive = false;
    int quality = 90;
    // The first component's sampling factors; the others are 1 x 1. Only
    // for Ycc and Ycck: 2 x 2 is 4:2:0, 2 x 1 is 4:2:2, 1 x 1 is 4:4:4.
    int lumaHorizontal = 2;
    int lumaVertical = 2;
    // width x height x channels samples, top row first; empty: a gradient.
    std::vector<std::uint8_t> samples;
    // A comment marker of this many bytes (at most 65533) before the first
    // scan; a reader skips it unread.
    std::size_t commentLength = 0;
};

FileBytes writeJpeg(const JpegDescription& description);

int jpegChannels(JpegColours colours);

// Smooth gradients in every channel, each channel running another way, so
// rows, columns and channels are all told apart after lossy coding.
std::vector<std::uint8_t> gradientSamples(std::int32_t width, std::int32_t height, int channels);

// The file with its last scan written count more times before the end
// marker: the many-scan file a hostile writer makes from a progressive one.
FileBytes repeatLastScan(const FileBytes& jpeg, std::size_t count);

// Overwrites the size in the frame header, so a small file can claim any
// size up to 65535 x 65535.
void setJpegSize(FileBytes& jpeg, std::uint16_t width, std::uint16_t height);

// What a bare libjpeg decode with the library's defaults gives: the
// default output colours (red, green, blue; grey; or CMYK), rows top first.
struct BareJpeg {
    std::int32_t width = 0;
    std::int32_t height = 0;
    int channels = 0;
    std::vector<std::uint8_t> samples;
};

// Reads from memory with the library's own memory source; nothing on a
// fatal error.
std::optional<BareJpeg> decodeJpegBare(ByteView data);

// ---------------------------------------------------------------- PNG

enum class PngColours { Grey, GreyAlpha, Rgb, Rgba, Palette };

struct PngDescription {
    std::uint32_t width = 8;
    std::uint32_t height = 8;
    PngColours colours = PngColours::Rgba;
    int bitDepth = 8;  // 1, 2, 4 or 8 for Grey and Palette; 8 or 16 for all but Palette
    bool interlaced = false;
    // width x height x channels samples, top row first, each below 2^bitDepth;
    // for Palette one index a pixel.
    std::vector<std::uint16_t> samples;
    // 0xAARRGGBB; alphas below 0xFF are written as a transparency chunk.
    std::vector<std::uint32_t> palette;
};

FileBytes writePng(const PngDescription& description);

// A black 1-bit grey picture of any size, written row by row, so pictures
// too large to describe pixel by pixel stay cheap to make.
FileBytes writeBlackPng(std::uint32_t width, std::uint32_t height);

int pngChannels(PngColours colours);

// What a bare decode with libpng's simplified reader gives in 8-bit blue,
// green, red, alpha; nothing when it fails.
std::optional<std::vector<std::uint8_t>> decodePngBare(ByteView data);

// width x height x channels samples below 2^bitDepth, running through the
// whole range so that neighbours differ.
std::vector<std::uint16_t> patternSamples(std::uint32_t width, std::uint32_t height, int channels, int bitDepth);

// One chunk of a PNG file: where its length field starts, its data length
// and its type.
struct PngChunk {
    std::size_t offset = 0;
    std::uint32_t length = 0;
    std::string type;
};

// The chunks of a well-formed file, in order.
std::vector<PngChunk> pngChunks(const FileBytes& png);

// The first chunk of the type; the file must hold one.
PngChunk firstChunk(const FileBytes& png, const std::string& type);

// Overwrites width and height in the header chunk and gives it the right CRC
// again, so only the reader's own limits stand in the way.
void setPngSize(FileBytes& png, std::uint32_t width, std::uint32_t height);

// Sets the CRC of a chunk right again after its data was changed.
void refreshChunkCrc(FileBytes& png, const PngChunk& chunk);

}  // namespace jpeg_png_files
