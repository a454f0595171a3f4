#pragma once

#include <cstdint>
#include <string_view>
#include <utility>
#include <variant>

#include "app/text.h"
#include "convert/numbers.h"
#include "window/controls.h"

// The sizes typed into the edit boxes. Nothing keeps a converted value: every
// use reads the box's text again and converts it again.

// The number the edit box's text reads as; 0 when it holds none.
inline double typedNumber(std::string_view editBox) {
    PropertyValue content = readProperty(editBox, property::content);
    const Text* text = std::get_if<Text>(&content);
    return textToNumber(text != nullptr ? text->view() : std::string_view());
}

// The whole edge length the edit box's text gives.
inline std::int32_t typedSize(std::string_view editBox) { return truncateToInt(typedNumber(editBox)); }
