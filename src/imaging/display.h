#pragma once

#include <cstdint>

// What drawing needs to know of the display. A desktop host answers these;
// without one the display is true colour and the button face light grey.
struct DisplayQueries {
    int (*bitsPerPixel)() = nullptr;
    std::uint32_t (*buttonFaceColour)() = nullptr;  // 0x00BBGGRR
};

void setDisplayQueries(DisplayQueries queries);

// Asked anew at every use: the display mode may change while the program runs.
int displayBitsPerPixel();
std::uint32_t buttonFaceColour();
