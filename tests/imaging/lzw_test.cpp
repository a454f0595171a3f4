#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "imaging/decoders/lzw.h"
#include "support/gif_pcx_files.h"

namespace {

using gif_pcx_files::ByteVector;
using gif_pcx_files::Code;
using gif_pcx_files::LzwOptions;
using State = LzwDecoder::State;

constexpr std::size_t unlimited = std::numeric_limits<std::size_t>::max();

// Keeps what it is given, up to its capacity.
class CollectingSink final : public LzwSink {
public:
    explicit CollectingSink(std::size_t capacity) : capacity_(capacity) {}

    bool take(const std::uint8_t* indices, std::size_t count) override {
        const std::size_t kept = std::min(count, capacity_ - collected.size());
        collected.insert(collected.end(), indices, indices + kept);
        return collected.size() < capacity_;
    }

    ByteVector collected;

private:
    std::size_t capacity_;
};

struct Decoded {
    State state;
    ByteVector indices;
};

// Feeds stream in pieces of pieceSize bytes, as sub-blocks would bring it.
Decoded decode(int minimumCodeSize, const ByteVector& stream, std::size_t pieceSize = 255,
               std::size_t capacity = unlimited) {
    LzwDecoder decoder(minimumCodeSize);
    CollectingSink sink(capacity);
    for (std::size_t start = 0; start < stream.size() && decoder.state() == State::Decoding; start += pieceSize) {
        decoder.feed({stream.data() + start, std::min(pieceSize, stream.size() - start)}, sink);
    }
    return {decoder.state(), sink.collected};
}

// Minimum code size 2: clear 4, end 5, first free code 6; codes start 3 bits wide.
constexpr std::uint32_t clear2 = 4;
constexpr std::uint32_t end2 = 5;

struct RoundTripCase {
    std::string name;
    int minimumCodeSize;
    ByteVector indices;
    LzwOptions options;
};

LzwOptions keepCodingWhenFull(std::size_t codesBeforeLateClear) {
    LzwOptions options;
    options.clearWhenFull = false;
    options.codesBeforeLateClear = codesBeforeLateClear;
    return options;
}

LzwOptions withoutOpeningClear() {
    LzwOptions options;
    options.clearFirst = false;
    return options;
}

std::vector<RoundTripCase> roundTripCases() {
    using gif_pcx_files::noiseIndices;
    return {
        {"one pixel", 2, {3}, {}},
        {"two colours at the smallest code size", 2, noiseIndices(500, 2, 1), {}},
        {"sixteen colours", 4, noiseIndices(3000, 16, 2), {}},
        {"one long run, spelled by codes not yet in the table", 8, ByteVector(5000, 7), {}},
        {"noise that fills the table, cleared at once", 8, noiseIndices(40000, 256, 3), {}},
        {"table full long before the clear code", 8, noiseIndices(16384, 256, 4), keepCodingWhenFull(0)},
        {"table full, then a late clear and a new table", 8, noiseIndices(40000, 256, 5), keepCodingWhenFull(700)},
        {"two colours with a full table", 2, noiseIndices(90000, 4, 6), keepCodingWhenFull(0)},
        {"no clear code before the first code", 8, noiseIndices(2000, 256, 7), withoutOpeningClear()},
    };
}

TEST(GifLzwDecoder, DecodesWhatAnEncoderWroteWhateverThePieces) {
    for (const RoundTripCase& test : roundTripCases()) {
        SCOPED_TRACE(test.name);
        const ByteVector stream = gif_pcx_files::encodeLzw(test.indices, test.minimumCodeSize, test.options);
        for (const std::size_t pieceSize : {std::size_t(1), std::size_t(7), std::size_t(255)}) {
            SCOPED_TRACE(pieceSize);
            const Decoded decoded = decode(test.minimumCodeSize, stream, pieceSize);
            EXPECT_EQ(decoded.state, State::Finished);
            EXPECT_EQ(decoded.indices, test.indices);
        }
    }
}

TEST(GifLzwDecoder, TheFullTableCasesReallyFillTheTable) {
    // Without a full table the stream would not change when the encoder stops
    // clearing it.
    const ByteVector noise = gif_pcx_files::noiseIndices(16384, 256, 4);
    EXPECT_NE(gif_pcx_files::encodeLzw(noise, 8, keepCodingWhenFull(0)), gif_pcx_files::encodeLzw(noise, 8));
}

TEST(GifLzwDecoder, ACodeAtTheNextFreeCodeRepeatsThePreviousStringsFirstByte) {
    // 1, then 6 = "1" + "1" defined by itself, then 7 = "11" + "1"; the table
    // reaches 8 entries and the end code comes 4 bits wide.
    const ByteVector stream = gif_pcx_files::packCodes({{clear2, 3}, {1, 3}, {6, 3}, {7, 3}, {end2, 4}});
    const Decoded decoded = decode(2, stream);
    EXPECT_EQ(decoded.state, State::Finished);
    EXPECT_EQ(decoded.indices, ByteVector(6, 1));
}

TEST(GifLzwDecoder, CodesThatNameNoStringBreakTheStream) {
    struct Case {
        std::string name;
        std::vector<Code> codes;
    };
    const std::vector<Case> cases = {
        {"first code after a clear above the first free code", {{clear2, 3}, {7, 3}}},
        {"first code after a clear at the first free code", {{clear2, 3}, {6, 3}}},
        {"first code of a stream without a clear at the first free code", {{6, 3}}},
        {"a code beyond the next free code", {{clear2, 3}, {1, 3}, {7, 3}}},
        {"first code after a second clear above the first free code",
         {{clear2, 3}, {1, 3}, {2, 3}, {clear2, 3}, {7, 3}}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(decode(2, gif_pcx_files::packCodes(test.codes)).state, State::Broken);
    }
}

TEST(GifLzwDecoder, MinimumCodeSizesOutsideTwoToEightBreakTheStream) {
    const ByteVector stream = gif_pcx_files::encodeLzw({1, 1}, 2);
    for (const int size : {-1, 0, 1, 9, 12, 255}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(decode(size, stream).state, State::Broken);
    }
}

TEST(GifLzwDecoder, StopsAtTheEndCodeAndReadsNothingAfterIt) {
    const ByteVector stream = gif_pcx_files::packCodes({{clear2, 3}, {2, 3}, {end2, 3}, {7, 3}, {7, 3}});
    const Decoded decoded = decode(2, stream, 1);
    EXPECT_EQ(decoded.state, State::Finished);
    EXPECT_EQ(decoded.indices, ByteVector{2});
}

TEST(GifLzwDecoder, StopsAsSoonAsTheSinkIsFull) {
    // The third pixel widens the codes to 4 bits; the broken code after it
    // (9, beyond the next free code 8) is never read.
    const ByteVector stream = gif_pcx_files::packCodes({{clear2, 3}, {1, 3}, {2, 3}, {3, 3}, {9, 4}});
    const Decoded decoded = decode(2, stream, 1, 3);
    EXPECT_EQ(decoded.state, State::Finished);
    EXPECT_EQ(decoded.indices, (ByteVector{1, 2, 3}));
}

TEST(GifLzwDecoder, AStreamWithoutEndCodeKeepsWhatItDecoded) {
    LzwOptions noEnd;
    noEnd.endCode = false;
    const ByteVector indices = gif_pcx_files::noiseIndices(300, 4, 8);
    const Decoded decoded = decode(2, gif_pcx_files::encodeLzw(indices, 2, noEnd));
    EXPECT_EQ(decoded.state, State::Decoding);
    EXPECT_EQ(decoded.indices, indices);
}

TEST(GifLzwDecoder, FeedingAfterTheEndDoesNothing) {
    LzwDecoder decoder(2);
    CollectingSink sink(unlimited);
    const ByteVector stream = gif_pcx_files::packCodes({{clear2, 3}, {1, 3}, {end2, 3}});
    EXPECT_EQ(decoder.feed(gif_pcx_files::viewOf(stream), sink), State::Finished);
    const ByteVector more = gif_pcx_files::packCodes({{clear2, 3}, {2, 3}});
    EXPECT_EQ(decoder.feed(gif_pcx_files::viewOf(more), sink), State::Finished);
    EXPECT_EQ(sink.collected, ByteVector{1});
}

}  // namespace
