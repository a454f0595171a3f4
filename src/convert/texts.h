#pragma once

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "app/text.h"

// The number of bytes before the first zero byte; 0 for null.
std::int32_t textLength(const char* text);

// The "%d" form of value, as a new text.
Text intToText(std::int32_t value);

// A new text holding the given texts one after another. Always a new block,
// even when every part is empty.
Text joinTexts(std::initializer_list<std::string_view> parts);
