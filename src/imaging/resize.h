#pragma once

#include <cstdint>

#include "app/text.h"

// Makes the square: the picture at sourcePath stretched to edge x edge on
// the work canvas, captured as a bitmap file image that replaces
// outputImage. A source that is no picture gives a square of the canvas's
// background colour; an edge that cannot be captured makes outputImage empty.
// True when a picture was drawn; the window's actions need not ask.
bool resizeToSquare(const Text& sourcePath, std::int32_t edge);
