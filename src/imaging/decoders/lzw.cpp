#include "imaging/decoders/lzw.h"

LzwDecoder::LzwDecoder(int minimumCodeSize) {
    if (minimumCodeSize < smallestMinimumCodeSize || minimumCodeSize > largestMinimumCodeSize) {
        state_ = State::Broken;
        return;
    }
    clearCode_ = std::uint32_t(1) << minimumCodeSize;
    endCode_ = clearCode_ + 1;
    firstFreeCode_ = clearCode_ + 2;
    startWidth_ = minimumCodeSize + 1;
    for (std::uint32_t code = 0; code < clearCode_; ++code) {
        prefix_[code] = noCode;
        lastByte_[code] = static_cast<std::uint8_t>(code);
        length_[code] = 1;
    }
    clearTable();
}

void LzwDecoder::clearTable() {
    nextFreeCode_ = firstFreeCode_;
    codeWidth_ = startWidth_;
    previousCode_ = noCode;
}

LzwDecoder::State LzwDecoder::feed(ByteView bytes, LzwSink& sink) {
    for (std::size_t i = 0; i < bytes.size && state_ == State::Decoding; ++i) {
        bits_ |= std::uint32_t(bytes.data[i]) << bitCount_;
        bitCount_ += 8;
        while (bitCount_ >= codeWidth_ && state_ == State::Decoding) {
            const std::uint32_t code = bits_ & ((std::uint32_t(1) << codeWidth_) - 1);
            bits_ >>= codeWidth_;
            bitCount_ -= codeWidth_;
            state_ = decodeCode(code, sink);
        }
    }
    return state_;
}

LzwDecoder::State LzwDecoder::decodeCode(std::uint32_t code, LzwSink& sink) {
    if (code == clearCode_) {
        clearTable();
        return State::Decoding;
    }
    if (code == endCode_) return State::Finished;

    std::size_t length = 0;
    if (previousCode_ == noCode) {
        // The first code after a clear (or of the stream) has no previous
        // string to build on: only a single byte can stand there.
        if (code >= clearCode_) return State::Broken;
        length = spell(code);
    } else if (code < nextFreeCode_) {
        length = spell(code);
        addString(previousCode_, scratch_[0]);
    } else if (code == nextFreeCode_) {
        // The string being defined by this very code: the previous string
        // followed by its own first byte.
        length = spell(previousCode_);
        scratch_[length] = scratch_[0];
        ++length;
        addString(previousCode_, scratch_[0]);
    } else {
        // Beyond the next free code no string exists yet. Every string the
        // table holds was built from earlier ones, so refusing these codes is
        // what keeps each chain of prefixes leading back to a single byte.
        return State::Broken;
    }
    previousCode_ = static_cast<std::uint16_t>(code);
    return sink.take(scratch_.data(), length) ? State::Decoding : State::Finished;
}

std::size_t LzwDecoder::spell(std::uint32_t code) {
    const std::size_t length = length_[code];
    std::size_t position = length;
    // length_ counts the links of the chain, so the walk ends on a single byte.
    while (position > 0) {
        scratch_[--position] = lastByte_[code];
        code = prefix_[code];
    }
    return length;
}

void LzwDecoder::addString(std::uint16_t prefix, std::uint8_t lastByte) {
    // A full table adds nothing until the next clear code; the codes keep
    // their width of 12 bits meanwhile.
    if (nextFreeCode_ >= tableSize) return;
    prefix_[nextFreeCode_] = prefix;
    lastByte_[nextFreeCode_] = lastByte;
    length_[nextFreeCode_] = static_cast<std::uint16_t>(length_[prefix] + 1);
    ++nextFreeCode_;
    if (nextFreeCode_ == (std::uint32_t(1) << codeWidth_) && codeWidth_ < widestCode) ++codeWidth_;
}
