#include "imaging/display.h"

namespace {

DisplayQueries queries;

constexpr int trueColourBits = 32;
constexpr std::uint32_t lightGrey = 0xF0F0F0;

}  // namespace

void setDisplayQueries(DisplayQueries newQueries) { queries = newQueries; }

int displayBitsPerPixel() { return queries.bitsPerPixel != nullptr ? queries.bitsPerPixel() : trueColourBits; }

std::uint32_t buttonFaceColour() {
    return queries.buttonFaceColour != nullptr ? queries.buttonFaceColour() : lightGrey;
}
