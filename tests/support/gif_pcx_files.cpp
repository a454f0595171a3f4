#include "support/gif_pcx_files.h"

#include <algorithm>
#include <unordered_map>

namespace gif_pcx_files {

namespace {

constexpr std::uint32_t lzwTableSize = 4096;
constexpr int widestCode = 12;

void put16(ByteVector& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// Packs codes least significant bit first.
class BitWriter {
public:
    void put(std::uint32_t code, int width) {
        bits_ |= (code & ((std::uint32_t(1) << width) - 1)) << bitCount_;
        bitCount_ += width;
        while (bitCount_ >= 8) {
            bytes_.push_back(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            bitCount_ -= 8;
        }
    }
    ByteVector finish() {
        if (bitCount_ > 0) bytes_.push_back(static_cast<std::uint8_t>(bits_));
        bits_ = 0;
        bitCount_ = 0;
        return std::move(bytes_);
    }

private:
    ByteVector bytes_;
    std::uint32_t bits_ = 0;
    int bitCount_ = 0;
};

// The encoder proper. The width of each code is the width the decoder will
// read it at: the decoder's table runs one string behind the encoder's, so
// its state is followed apart from the encoder's own.
class LzwEncoder {
public:
    LzwEncoder(int minimumCodeSize, const LzwOptions& options)
        : options_(options),
          clearCode_(std::uint32_t(1) << minimumCodeSize),
          startWidth_(minimumCodeSize + 1),
          codeWidth_(startWidth_),
          decoderNextFree_(clearCode_ + 2) {
        restartTable();
    }

    ByteVector encode(const ByteVector& indices) {
        if (options_.clearFirst) emit(clearCode_);
        if (!indices.empty()) encodeIndices(indices);
        if (options_.endCode) emit(clearCode_ + 1);
        return out_.finish();
    }

private:
    void encodeIndices(const ByteVector& indices) {
        std::uint32_t current = indices[0];
        for (std::size_t i = 1; i < indices.size(); ++i) {
            const std::uint32_t key = (current << 8) | indices[i];
            const auto known = strings_.find(key);
            if (known != strings_.end()) {
                current = known->second;
                continue;
            }
            emit(current);
            addString(key);
            current = indices[i];
        }
        emit(current);
    }

    void addString(std::uint32_t key) {
        if (nextFreeCode_ < lzwTableSize) {
            strings_[key] = nextFreeCode_++;
            if (nextFreeCode_ == lzwTableSize && options_.clearWhenFull) clearTable();
            return;
        }
        ++codesAtFullTable_;
        if (codesAtFullTable_ == options_.codesBeforeLateClear) clearTable();
    }

    void clearTable() {
        emit(clearCode_);
        restartTable();
    }

    void restartTable() {
        strings_.clear();
        nextFreeCode_ = clearCode_ + 2;
        codesAtFullTable_ = 0;
    }

    // Writes code and follows what the decoder does on reading it.
    void emit(std::uint32_t code) {
        out_.put(code, codeWidth_);
        if (code == clearCode_) {
            decoderNextFree_ = clearCode_ + 2;
            codeWidth_ = startWidth_;
            decoderHasPrevious_ = false;
            return;
        }
        if (decoderHasPrevious_ && decoderNextFree_ < lzwTableSize) {
            ++decoderNextFree_;
            if (decoderNextFree_ == (std::uint32_t(1) << codeWidth_) && codeWidth_ < widestCode) ++codeWidth_;
        }
        decoderHasPrevious_ = true;
    }

    LzwOptions options_;
    std::uint32_t clearCode_;
    int startWidth_;
    int codeWidth_;
    BitWriter out_;
    std::unordered_map<std::uint32_t, std::uint32_t> strings_;  // (prefix code << 8 | byte) -> code
    std::uint32_t nextFreeCode_ = 0;
    std::size_t codesAtFullTable_ = 0;
    std::uint32_t decoderNextFree_;
    bool decoderHasPrevious_ = false;
};

// Table sizes in a GIF are powers of two from 2 to 256.
int tableSizeBits(std::size_t entries) {
    int bits = 1;
    while ((std::size_t(1) << bits) < entries && bits < 8) ++bits;
    return bits;
}

void putColourTable(ByteVector& out, const std::vector<Rgb>& table) {
    const std::size_t entries = std::size_t(1) << tableSizeBits(table.size());
    for (std::size_t i = 0; i < entries; ++i) {
        const Rgb colour = i < table.size() ? table[i] : Rgb{};
        out.push_back(colour.red);
        out.push_back(colour.green);
        out.push_back(colour.blue);
    }
}

std::uint8_t tableFlags(const std::vector<Rgb>& table) {
    if (table.empty()) return 0;
    return static_cast<std::uint8_t>(0x80 | (tableSizeBits(table.size()) - 1));
}

int minimumCodeSizeOf(const GifImage& image) {
    if (image.minimumCodeSize != 0) return image.minimumCodeSize;
    const std::uint8_t largest =
        image.indices.empty() ? 0 : *std::max_element(image.indices.begin(), image.indices.end());
    int bits = 2;
    while ((1 << bits) <= largest) ++bits;
    return bits;
}

// The indices in the order the file stores them: rows in interlaced order
// when asked, and anything past the last row after them.
ByteVector storedOrder(const GifImage& image) {
    if (!image.interlaced) return image.indices;
    const std::size_t width = image.width;
    ByteVector stored;
    for (const int row : interlacedRowOrder(image.height)) {
        const std::size_t start = std::min(image.indices.size(), row * width);
        const std::size_t end = std::min(image.indices.size(), start + width);
        stored.insert(stored.end(), image.indices.begin() + start, image.indices.begin() + end);
    }
    const std::size_t rows = std::min(image.indices.size(), width * image.height);
    stored.insert(stored.end(), image.indices.begin() + rows, image.indices.end());
    return stored;
}

}  // namespace

ByteView viewOf(const ByteVector& bytes) { return {bytes.data(), bytes.size()}; }

ByteVector noiseIndices(std::size_t count, int colours, std::uint32_t seed) {
    ByteVector indices(count);
    std::uint32_t state = seed;
    for (auto& index : indices) {
        state = state * 1664525u + 1013904223u;
        index = static_cast<std::uint8_t>((state >> 16) % static_cast<std::uint32_t>(colours));
    }
    return indices;
}

ByteVector encodeLzw(const ByteVector& indices, int minimumCodeSize, const LzwOptions& options) {
    return LzwEncoder(minimumCodeSize, options).encode(indices);
}

ByteVector packCodes(const std::vector<Code>& codes) {
    BitWriter writer;
    for (const Code& code : codes) writer.put(code.value, code.width);
    return writer.finish();
}

ByteVector subBlocks(const ByteVector& bytes, std::size_t pieceSize) {
    ByteVector out;
    for (std::size_t start = 0; start < bytes.size(); start += pieceSize) {
        const std::size_t length = std::min(pieceSize, bytes.size() - start);
        out.push_back(static_cast<std::uint8_t>(length));
        out.insert(out.end(), bytes.begin() + start, bytes.begin() + start + length);
    }
    out.push_back(0);
    return out;
}

GifWriter::GifWriter(std::uint16_t screenWidth, std::uint16_t screenHeight, const std::vector<Rgb>& globalTable,
                     const std::string& version) {
    const std::string signature = "GIF" + version;
    bytes_.assign(signature.begin(), signature.end());
    put16(bytes_, screenWidth);
    put16(bytes_, screenHeight);
    bytes_.push_back(tableFlags(globalTable));
    bytes_.push_back(0);  // background colour index
    bytes_.push_back(0);  // aspect ratio
    if (!globalTable.empty()) putColourTable(bytes_, globalTable);
}

GifWriter& GifWriter::graphicControl(std::uint16_t delay, std::uint8_t transparentIndex) {
    ByteVector block{0x01};  // flags: a transparent index
    put16(block, delay);
    block.push_back(transparentIndex);
    return extension(0xF9, {block});
}

GifWriter& GifWriter::frameControl(const FrameControl& control) {
    const auto transparency = static_cast<std::uint8_t>(control.transparentIndex ? 0x01 : 0x00);
    ByteVector block{static_cast<std::uint8_t>(((control.disposal & 7) << 2) | transparency)};
    put16(block, control.delay);
    block.push_back(control.transparentIndex.value_or(0));
    return extension(0xF9, {block});
}

GifWriter& GifWriter::comment(const std::string& text) {
    return extension(0xFE, {ByteVector(text.begin(), text.end())});
}

GifWriter& GifWriter::plainText(const std::string& text) {
    ByteVector header(12, 0);  // grid position, size, cell size, colours
    return extension(0x01, {header, ByteVector(text.begin(), text.end())});
}

GifWriter& GifWriter::application() {
    const std::string identifier = "NETSCAPE2.0";
    return extension(0xFF, {ByteVector(identifier.begin(), identifier.end()), ByteVector{0x01, 0x00, 0x00}});
}

GifWriter& GifWriter::extension(std::uint8_t label, const std::vector<ByteVector>& blocks) {
    bytes_.push_back(0x21);
    bytes_.push_back(label);
    for (const ByteVector& block : blocks) {
        bytes_.push_back(static_cast<std::uint8_t>(block.size()));
        bytes_.insert(bytes_.end(), block.begin(), block.end());
    }
    bytes_.push_back(0);
    return *this;
}

void GifWriter::imageDescriptor(const GifImage& image) {
    bytes_.push_back(0x2C);
    put16(bytes_, image.left);
    put16(bytes_, image.top);
    put16(bytes_, image.width);
    put16(bytes_, image.height);
    bytes_.push_back(static_cast<std::uint8_t>(tableFlags(image.localTable) | (image.interlaced ? 0x40 : 0)));
    if (!image.localTable.empty()) putColourTable(bytes_, image.localTable);
}

GifWriter& GifWriter::image(const GifImage& image) {
    const int minimumCodeSize = minimumCodeSizeOf(image);
    return imageWithData(image, subBlocks(encodeLzw(storedOrder(image), minimumCodeSize, image.lzw)));
}

GifWriter& GifWriter::imageWithData(const GifImage& image, const ByteVector& data) {
    imageDescriptor(image);
    bytes_.push_back(static_cast<std::uint8_t>(minimumCodeSizeOf(image)));
    return raw(data);
}

GifWriter& GifWriter::raw(const ByteVector& bytes) {
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

GifWriter& GifWriter::trailer() {
    bytes_.push_back(0x3B);
    return *this;
}

std::vector<int> interlacedRowOrder(int height) {
    static constexpr int firstRows[4] = {0, 4, 2, 1};
    static constexpr int steps[4] = {8, 8, 4, 2};
    std::vector<int> rows;
    for (int pass = 0; pass < 4; ++pass) {
        for (int row = firstRows[pass]; row < height; row += steps[pass]) rows.push_back(row);
    }
    return rows;
}

ByteVector encodePcxRuns(const ByteVector& bytes) {
    ByteVector out;
    for (std::size_t i = 0; i < bytes.size();) {
        std::size_t run = 1;
        while (i + run < bytes.size() && run < 63 && bytes[i + run] == bytes[i]) ++run;
        if (run > 1 || bytes[i] >= 0xC0) out.push_back(static_cast<std::uint8_t>(0xC0 + run));
        out.push_back(bytes[i]);
        i += run;
    }
    return out;
}

ByteVector pcxFile(const PcxFile& file) {
    ByteVector out(128, 0);
    out[0] = file.manufacturer;
    out[1] = file.version;
    out[2] = file.encoding;
    out[3] = file.bitsPerPixel;
    const std::int16_t window[4] = {file.xMin, file.yMin, file.xMax, file.yMax};
    for (int i = 0; i < 4; ++i) {
        out[4 + 2 * i] = static_cast<std::uint8_t>(window[i]);
        out[5 + 2 * i] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(window[i]) >> 8);
    }
    out[65] = file.planes;
    out[66] = static_cast<std::uint8_t>(file.bytesPerLine);
    out[67] = static_cast<std::uint8_t>(file.bytesPerLine >> 8);

    if (file.runsAcrossLines) {
        ByteVector all;
        for (const ByteVector& line : file.scanLines) all.insert(all.end(), line.begin(), line.end());
        const ByteVector runs = encodePcxRuns(all);
        out.insert(out.end(), runs.begin(), runs.end());
    } else {
        for (const ByteVector& line : file.scanLines) {
            const ByteVector runs = encodePcxRuns(line);
            out.insert(out.end(), runs.begin(), runs.end());
        }
    }

    if (!file.palette.empty()) {
        out.push_back(0x0C);
        for (std::size_t i = 0; i < 256; ++i) {
            const Rgb colour = i < file.palette.size() ? file.palette[i] : Rgb{};
            out.push_back(colour.red);
            out.push_back(colour.green);
            out.push_back(colour.blue);
        }
    }
    return out;
}

GifImage imageAt(std::uint16_t left, std::uint16_t top, std::uint16_t width, std::uint16_t height,
                 ByteVector indices) {
    GifImage image;
    image.left = left;
    image.top = top;
    image.width = width;
    image.height = height;
    image.indices = std::move(indices);
    return image;
}

GifImage solidImage(std::uint16_t width, std::uint16_t height, std::uint8_t index) {
    return imageAt(0, 0, width, height, ByteVector(std::size_t(width) * height, index));
}

ByteVector twoFrameGif(std::uint16_t width, std::uint16_t height, std::uint32_t firstRgb, std::uint32_t secondRgb,
                       std::uint16_t delay) {
    const auto rgbOf = [](std::uint32_t rgb) {
        return Rgb{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                   static_cast<std::uint8_t>(rgb)};
    };
    FrameControl control;
    control.delay = delay;
    GifWriter writer(width, height, {rgbOf(firstRgb), rgbOf(secondRgb)});
    writer.application();
    writer.frameControl(control).image(solidImage(width, height, 0));
    writer.frameControl(control).image(solidImage(width, height, 1));
    return writer.trailer().bytes();
}

}  // namespace gif_pcx_files
