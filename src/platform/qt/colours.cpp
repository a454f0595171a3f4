#include "platform/qt/colours.h"

#include "window/description.h"

QColor qtColourOf(std::uint32_t colour, const QPalette& palette) {
    if (colour == buttonFace) return buttonFaceOf(palette);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QColor buttonFaceOf(const QPalette& palette) { return palette.color(QPalette::Window); }

std::uint32_t colourValueOf(const QColor& colour) {
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}
