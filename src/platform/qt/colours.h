#pragma once

#include <QColor>
#include <QPalette>
#include <cstdint>

// A colour of the window description (0x00BBGGRR, or buttonFace for the
// platform's colour, looked up from the palette each time it is drawn).
QColor qtColourOf(std::uint32_t colour, const QPalette& palette);

// The platform's button-face colour: what Qt paints dialog and window
// backgrounds with, as Windows uses its button face for them.
QColor buttonFaceOf(const QPalette& palette);

// A QColor as a colour value 0x00BBGGRR.
std::uint32_t colourValueOf(const QColor& colour);
