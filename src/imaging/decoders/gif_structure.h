#pragma once

// The block structure of a GIF file, shared by the still picture's decoder
// and the preview's animation: the header and logical screen, colour
// tables, extensions, image descriptors, the row order of an image and the
// feeding of its data sub-blocks to the LZW decoder. Everything reads
// through a ByteReader and stays within the data.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "app/byte_view.h"
#include "imaging/byte_reader.h"
#include "imaging/decoders/lzw.h"

namespace gif {

inline constexpr std::uint8_t extensionIntroducer = 0x21;
inline constexpr std::uint8_t imageSeparator = 0x2C;
inline constexpr std::uint8_t graphicControlLabel = 0xF9;

struct Screen {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    ByteView colourTable;  // red, green, blue triples, in place; empty when there is none
};

// The header and logical screen descriptor with the global table. None for
// data of 13 bytes or fewer, a wrong signature, or a table that reaches the
// end of the data (which leaves no room for an image).
std::optional<Screen> readScreen(ByteView data, ByteReader& reader);

// Skips a chain of sub-blocks up to its empty terminator; false when the
// chain runs past the data.
bool skipSubBlocks(ByteReader& reader);

// The fixed bytes an extension holds before its sub-blocks (its size byte
// included), by label: graphic control, plain text, comment, application.
// None for any other label, which makes a file unreadable.
std::optional<std::size_t> extensionHeaderSize(std::uint8_t label);

struct ImageDescriptor {
    std::uint16_t left = 0;
    std::uint16_t top = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    bool interlaced = false;
    ByteView localColourTable;  // empty when the image has none
};

// The descriptor that follows an image separator, with its local table.
std::optional<ImageDescriptor> readImageDescriptor(ByteReader& reader);

// The rows of an image in the order its data stores them: straight down, or
// the four passes of an interlaced image (rows 0, 8, 16...; 4, 12...;
// 2, 6...; 1, 3...).
class RowOrder {
public:
    RowOrder(std::int32_t height, bool interlaced);
    std::int32_t row() const { return row_; }
    bool done() const { return done_; }
    void next();

private:
    std::int32_t height_;
    bool interlaced_;
    int pass_ = 0;
    std::int32_t row_ = 0;
    bool done_ = false;
};

// Feeds an image's minimum code size and data sub-blocks to the LZW decoder
// and leaves the reader after the chain (or at the end of the data). False
// only for a broken code stream: the end of the data ends the image like
// the end code does, even inside a sub-block, so a cut-off file shows as
// much as it holds.
bool decodeImageData(ByteReader& reader, LzwSink& sink);

}  // namespace gif
