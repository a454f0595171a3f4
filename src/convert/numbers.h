#pragma once

#include <cstdint>
#include <string_view>

// The typed-size limit and the tolerance of the test against it.
inline constexpr double maxTypedSize = 420.0;
inline constexpr double sizeTolerance = 0.0000001;

// Reads a typed GBK text as a number: full-width forms are narrowed, then a
// plain decimal number is read from the start (see text_to_number.cpp).
// A text that holds no number reads as 0.
double textToNumber(std::string_view gbk);

// Truncates toward zero through a signed 64-bit whole number and keeps its
// low 32 bits; anything outside the 64-bit range, and NaN, gives 0.
std::int32_t truncateToInt(double value);

// True when value lies more than sizeTolerance above maxTypedSize.
bool exceedsMaxSize(double value);
