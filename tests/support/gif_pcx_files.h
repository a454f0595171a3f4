#pragma once

// Builders of GIF and PCX files from readable descriptions, for the decoder
// tests, fuzz seeds and benchmarks. They write what they are told, malformed
// files included: nothing here checks a description for sense.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/byte_view.h"

namespace gif_pcx_files {

using ByteVector = std::vector<std::uint8_t>;

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

// Four colours that tests tell apart on sight: table index 0 red, 1 green,
// 2 blue, 3 white, and the same colours as pixels, 0x00RRGGBB.
namespace primary {
inline const std::vector<Rgb> colourTable = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
constexpr std::uint32_t red = 0xFF0000;
constexpr std::uint32_t green = 0x00FF00;
constexpr std::uint32_t blue = 0x0000FF;
constexpr std::uint32_t white = 0xFFFFFF;
}  // namespace primary

ByteView viewOf(const ByteVector& bytes);

// count indices below colours, spread like noise; the same seed gives the
// same indices. Noise compresses badly, so it fills an LZW table quickly.
ByteVector noiseIndices(std::size_t count, int colours, std::uint32_t seed);

// ---------------------------------------------------------------- LZW

struct LzwOptions {
    bool clearFirst = true;     // open the stream with a clear code
    bool clearWhenFull = true;  // a clear code as soon as the table is full, as most writers do
    // With clearWhenFull off: how many codes go out at the full table before
    // a clear code starts a new one; 0 never clears.
    std::size_t codesBeforeLateClear = 0;
    bool endCode = true;  // close the stream with an end code
};

// The GIF LZW code stream of indices (each below 2 to the minimum code
// size), packed least significant bit first, not yet cut into sub-blocks.
ByteVector encodeLzw(const ByteVector& indices, int minimumCodeSize, const LzwOptions& options = {});

// One code of a hand-made stream, written at the width given.
struct Code {
    std::uint32_t value = 0;
    int width = 0;
};
ByteVector packCodes(const std::vector<Code>& codes);

// bytes cut into data sub-blocks of at most pieceSize (1 to 255) bytes,
// followed by the empty terminator.
ByteVector subBlocks(const ByteVector& bytes, std::size_t pieceSize = 255);

// ---------------------------------------------------------------- GIF

struct GifImage {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    // Colour indices as shown, top row first. More than width x height are
    // all encoded (after the image's rows), fewer leave the rest unencoded.
    ByteVector indices;
    std::vector<Rgb> localTable;  // none when empty; padded to a power of two
    bool interlaced = false;
    int minimumCodeSize = 0;  // 0: the fewest bits (at least 2) that hold every index
    LzwOptions lzw;
};

// Every field of a graphic control block, for the frames of an animation.
struct FrameControl {
    std::uint8_t disposal = 0;  // 0 to 7, written into bits 2 to 4 of the flags
    std::uint16_t delay = 0;    // hundredths of a second
    std::optional<std::uint8_t> transparentIndex;  // sets the transparency flag when present
};

// An image at left, top of width x height with the given indices.
GifImage imageAt(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                 ByteVector indices);
// A width x height image at the top left whose every pixel is index.
GifImage solidImage(std::uint16_t width, std::uint16_t height, std::uint8_t index);

// A GIF file, block by block, in the order the calls come.
class GifWriter {
public:
    // The header and logical screen descriptor, and the global table unless
    // it is empty (padded to a power of two). version is "87a" or "89a"
    // for a well-formed file.
    GifWriter(std::uint16_t screenWidth, std::uint16_t screenHeight, const std::vector<Rgb>& globalTable = {},
              const std::string& version = "89a");

    GifWriter& graphicControl(std::uint16_t delay = 0, std::uint8_t transparentIndex = 0);
    GifWriter& frameControl(const FrameControl& control);
    GifWriter& comment(const std::string& text);
    GifWriter& plainText(const std::string& text);
    // The looping block most animations carry.
    GifWriter& application();
    // Any label, with its blocks written as sub-blocks.
    GifWriter& extension(std::uint8_t label, const std::vector<ByteVector>& blocks);
    GifWriter& image(const GifImage& image);
    // The image descriptor, its table and the minimum code size byte,
    // followed by the given bytes as they are.
    GifWriter& imageWithData(const GifImage& image, const ByteVector& data);
    GifWriter& raw(const ByteVector& bytes);
    GifWriter& trailer();

    const ByteVector& bytes() const { return bytes_; }

private:
    void imageDescriptor(const GifImage& image);

    ByteVector bytes_;
};

// The rows of an image in the order an interlaced file stores them.
std::vector<int> interlacedRowOrder(int height);

// A looping animation of two width x height frames, first all firstRgb,
// then all secondRgb (0x00RRGGBB), each shown for delay hundredths of a
// second.
ByteVector twoFrameGif(std::uint16_t width, std::uint16_t height, std::uint32_t firstRgb, std::uint32_t secondRgb,
                       std::uint16_t delay);

// ---------------------------------------------------------------- PCX

struct PcxFile {
    std::uint8_t manufacturer = 0x0A;
    std::uint8_t version = 5;
    std::uint8_t encoding = 1;
    std::uint8_t bitsPerPixel = 8;
    std::int16_t xMin = 0;
    std::int16_t yMin = 0;
    std::int16_t xMax = 0;  // width - 1 with xMin 0
    std::int16_t yMax = 0;
    std::uint8_t planes = 1;
    std::uint16_t bytesPerLine = 0;
    // The decoded scan lines, top row first, each bytesPerLine x planes
    // bytes for a well-formed file.
    std::vector<ByteVector> scanLines;
    // Encode every scan line on its own, as the format asks, or all of them
    // as one stream whose runs may cross the ends of lines.
    bool runsAcrossLines = false;
    // 256 entries after a 0x0C marker, unless empty.
    std::vector<Rgb> palette;
};

ByteVector pcxFile(const PcxFile& file);

// The PCX run-length code of bytes: runs of up to 63, and every byte from
// 0xC0 up as a run of one.
ByteVector encodePcxRuns(const ByteVector& bytes);

}  // namespace gif_pcx_files
