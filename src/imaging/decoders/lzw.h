#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "app/byte_view.h"

// Receives the pixel indices an LzwDecoder decodes, one string at a time.
class LzwSink {
public:
    virtual ~LzwSink() = default;
    // Takes the next count indices; returns false once it wants no more.
    virtual bool take(const std::uint8_t* indices, std::size_t count) = 0;
};

// Decodes the LZW code stream of GIF image data: codes packed least
// significant bit first, starting one bit wider than the minimum code size
// and widening up to 12 bits; a clear code (2 to the minimum code size) that
// resets the string table, an end code one above it; a table of at most 4096
// strings that stops growing when full, its codes staying 12 bits wide until
// the next clear code.
//
// The stream is fed in pieces of any size (a GIF's data sub-blocks, in
// order); a code may straddle two pieces. Decoding ends at the end code,
// when the sink wants no more, or when the stream is found broken; the
// caller ends it at the end of its data.
class LzwDecoder {
public:
    enum class State {
        Decoding,  // wants more of the stream
        Finished,  // the end code came, or the sink is full
        Broken,    // a code that names no string
    };

    // The format asks for 2 even for two colours: at 1 the first free code
    // (4) would already need the widened codes, and writers disagree on when
    // the width grows. Above 8 the codes would not make byte indices.
    static constexpr int smallestMinimumCodeSize = 2;
    static constexpr int largestMinimumCodeSize = 8;

    // A minimum code size outside smallestMinimumCodeSize to
    // largestMinimumCodeSize leaves the decoder Broken from the start.
    explicit LzwDecoder(int minimumCodeSize);

    // Decodes the codes that bytes complete and hands their strings to sink.
    // Does nothing once the state is no longer Decoding.
    State feed(ByteView bytes, LzwSink& sink);
    State state() const { return state_; }

private:
    static constexpr std::size_t tableSize = 4096;
    static constexpr int widestCode = 12;
    static constexpr std::uint16_t noCode = 0xFFFF;

    void clearTable();
    State decodeCode(std::uint32_t code, LzwSink& sink);
    // Writes the string of code to the start of scratch_; returns its length.
    std::size_t spell(std::uint32_t code);
    void addString(std::uint16_t prefix, std::uint8_t lastByte);

    State state_ = State::Decoding;
    std::uint32_t clearCode_ = 0;
    std::uint32_t endCode_ = 0;
    std::uint32_t firstFreeCode_ = 0;
    int startWidth_ = 0;

    std::uint32_t nextFreeCode_ = 0;
    int codeWidth_ = 0;
    std::uint16_t previousCode_ = noCode;

    std::uint32_t bits_ = 0;  // unread bits, the oldest in the low end
    int bitCount_ = 0;

    // Each string is its prefix's string followed by its last byte; the
    // single-byte strings have no prefix.
    std::array<std::uint16_t, tableSize> prefix_{};
    std::array<std::uint8_t, tableSize> lastByte_{};
    std::array<std::uint16_t, tableSize> length_{};
    std::array<std::uint8_t, tableSize> scratch_{};
};
