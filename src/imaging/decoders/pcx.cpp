// PCX in its 256-colour form (an 8-bit bitmap block) and its two-colour
// form (a 1-bit raster).

#include <algorithm>
#include <cstring>

#include "imaging/byte_reader.h"
#include "imaging/decoders/decoders.h"
#include "imaging/indexed_block.h"
#include "imaging/limits.h"

namespace {

constexpr std::size_t headerSize = 128;
constexpr std::uint8_t manufacturerZsoft = 0x0A;
constexpr std::uint8_t runLengthEncoding = 1;
constexpr std::uint8_t latestVersion = 5;
constexpr std::uint8_t paletteMarker = 0x0C;
constexpr std::size_t paletteBytes = 768;

struct Header {
    std::uint8_t bitsPerPixel = 0;
    std::uint8_t planes = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::size_t bytesPerLine = 0;
};

std::optional<Header> readHeader(ByteView data) {
    if (data.size <= headerSize) return std::nullopt;
    ByteReader reader(data);
    const std::uint8_t manufacturer = reader.u8();
    const std::uint8_t version = reader.u8();
    const std::uint8_t encoding = reader.u8();
    if (manufacturer != manufacturerZsoft || version > latestVersion || encoding != runLengthEncoding) {
        return std::nullopt;
    }
    Header header;
    header.bitsPerPixel = reader.u8();
    const std::int32_t xMin = reader.i16();
    const std::int32_t yMin = reader.i16();
    const std::int32_t xMax = reader.i16();
    const std::int32_t yMax = reader.i16();
    header.width = xMax - xMin + 1;
    header.height = yMax - yMin + 1;
    reader.seek(65);
    header.planes = reader.u8();
    header.bytesPerLine = reader.u16();
    if (!reader.ok() || !isAcceptedPictureSize(header.width, header.height)) return std::nullopt;
    return header;
}

// The run-length data as one stream of decoded bytes: a byte above 0xC0
// repeats the byte after it (that byte - 0xC0) times, any other byte stands
// for itself, 0xC0 too (writers never emit it bare; some readers would take
// it as a run of none). A run may carry on from one scan line into the next,
// as some writers let it: the scan lines are cut from the stream, so a run
// never writes past the line it is in, and its rest starts the next line.
class RunLengthReader {
public:
    explicit RunLengthReader(ByteReader& reader) : reader_(reader) {}

    // Decodes the next count bytes into out, or past them when out is null.
    // False when the data ends first; what was decoded so far is stored.
    bool decode(std::uint8_t* out, std::size_t count) {
        while (count > 0) {
            if (runLeft_ == 0 && !startRun()) return false;
            const std::size_t n = std::min(count, runLeft_);
            if (out != nullptr) {
                std::memset(out, runValue_, n);
                out += n;
            }
            count -= n;
            runLeft_ -= n;
        }
        return true;
    }

private:
    bool startRun() {
        const std::uint8_t byte = reader_.u8();
        if (byte > 0xC0) {
            runLeft_ = byte - 0xC0u;
            runValue_ = reader_.u8();
        } else {
            runLeft_ = 1;
            runValue_ = byte;
        }
        if (reader_.ok()) return true;
        runLeft_ = 0;
        return false;
    }

    ByteReader& reader_;
    std::size_t runLeft_ = 0;
    std::uint8_t runValue_ = 0;
};

// Rows the data does not reach stay zero: a cut-off file shows as much as it
// holds.
void decodeIndexedRows(RunLengthReader& runs, Bytes& block, std::int32_t height, std::size_t lineLength) {
    for (std::int32_t y = 0; y < height; ++y) {
        if (!runs.decode(indexed_block::row(block, y), lineLength)) return;
    }
}

// A file without a palette after its data, or with one cut short, is shown
// in a grey ramp: index i as red = green = blue = i.
void storePalette(ByteReader& reader, Bytes& block) {
    ByteView rgb;
    if (reader.u8() == paletteMarker) rgb = reader.bytes(paletteBytes);
    const bool hasPalette = rgb.size == paletteBytes;
    std::uint8_t* entry = indexed_block::palette(block);
    for (std::size_t i = 0; i < indexed_block::paletteEntries; ++i, entry += 4) {
        const std::uint8_t grey = static_cast<std::uint8_t>(i);
        entry[0] = hasPalette ? rgb.data[3 * i + 2] : grey;
        entry[1] = hasPalette ? rgb.data[3 * i + 1] : grey;
        entry[2] = hasPalette ? rgb.data[3 * i] : grey;
        entry[3] = 0;
    }
}

// Bytes per line for every plane: the whole scan line of one row.
std::size_t scanLength(const Header& header) { return header.bytesPerLine * header.planes; }

// Each row of the block holds one whole scan line of the file, rounded up to
// 4 bytes: with one plane that is the picture; a file of several planes
// keeps them side by side.
std::optional<indexed_block::Layout> indexedLayout(const Header& header) {
    const std::size_t rowLength = (scanLength(header) + 3) & ~std::size_t(3);
    // Scan lines too short to hold the width would leave the block's rows
    // shorter than the picture.
    if (scanLength(header) < static_cast<std::size_t>(header.width)) return std::nullopt;
    // The rows may be far longer than the width: their bytes are held to the
    // same limit as pixels.
    std::size_t rowBytes = 0;
    if (!multiplySizes(rowLength, static_cast<std::size_t>(header.height), rowBytes) ||
        rowBytes > static_cast<std::size_t>(maxPicturePixels)) {
        return std::nullopt;
    }
    indexed_block::Layout layout;
    layout.width = header.width;
    layout.height = header.height;
    layout.rowLength = static_cast<std::uint32_t>(rowLength);
    layout.planes = header.planes;
    layout.coloursUsed = 0;
    return layout;
}

std::optional<Picture> decodeIndexed(ByteView data, const Header& header) {
    const std::optional<indexed_block::Layout> layout = indexedLayout(header);
    if (!layout) return std::nullopt;
    Bytes block = indexed_block::create(*layout);
    if (block.empty()) return std::nullopt;

    ByteReader reader(data);
    reader.seek(headerSize);
    RunLengthReader runs(reader);
    decodeIndexedRows(runs, block, header.height, scanLength(header));
    storePalette(reader, block);

    Picture picture;
    picture.kind = PictureKind::Pcx8;
    picture.width = header.width;
    picture.height = header.height;
    picture.pixels = std::move(block);
    return picture;
}

// Rows of ceil(width / 8) bytes, rounded up to an even count, top row first.
// A scan line's bytes past the row's pixels are decoded and passed over.
std::optional<Picture> decodeTwoColour(ByteView data, const Header& header) {
    const std::size_t pixelBytes = (static_cast<std::size_t>(header.width) + 7) / 8;
    const std::size_t rowLength = (pixelBytes + 1) & ~std::size_t(1);
    if (header.planes != 1 || header.bytesPerLine < pixelBytes) return std::nullopt;
    std::size_t total = 0;
    if (!multiplySizes(rowLength, static_cast<std::size_t>(header.height), total)) return std::nullopt;
    Bytes pixels = Bytes::tryOfSize(total);
    if (pixels.empty()) return std::nullopt;
    std::memset(pixels.data(), 0, total);

    ByteReader reader(data);
    reader.seek(headerSize);
    RunLengthReader runs(reader);
    for (std::size_t offset = 0; offset < total; offset += rowLength) {
        if (!runs.decode(pixels.data() + offset, pixelBytes) ||
            !runs.decode(nullptr, header.bytesPerLine - pixelBytes)) {
            break;  // rows the data does not reach stay zero
        }
    }

    Picture picture;
    picture.kind = PictureKind::Pcx1;
    picture.width = header.width;
    picture.height = header.height;
    picture.pixels = std::move(pixels);
    return picture;
}

}  // namespace

std::optional<Picture> decodePcx(ByteView data) {
    const std::optional<Header> header = readHeader(data);
    if (!header) return std::nullopt;
    if (header->bitsPerPixel == 8) return decodeIndexed(data, *header);
    if (header->bitsPerPixel == 1) return decodeTwoColour(data, *header);
    return std::nullopt;
}
