// Reading a typed size. The rules are fixed here rather than borrowed from
// the C library, whose readers follow the locale's decimal point, accept
// hexadecimal, "inf" and "nan", and know no 'd' exponent.

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "convert/numbers.h"

namespace {

// Replaces the full-width forms a Chinese input method types (digits, full
// stop, signs, letters, the ideographic space and a few look-alikes) by
// their ASCII counterparts. Any other two-byte character stays as it is.
std::string narrowFullWidth(std::string_view gbk) {
    std::string narrow;
    narrow.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto lead = static_cast<unsigned char>(gbk[i]);
        if (lead < 0x80) {
            narrow.push_back(static_cast<char>(lead));
            continue;
        }
        if (i + 1 >= gbk.size()) break;  // a lone lead byte at the end is dropped
        const auto trail = static_cast<unsigned char>(gbk[++i]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            narrow.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            narrow.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            narrow.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            narrow.push_back('*');
        } else {
            narrow.push_back(static_cast<char>(lead));
            narrow.push_back(static_cast<char>(trail));
        }
    }
    return narrow;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool isExponentLetter(char c) { return c == 'e' || c == 'E' || c == 'd' || c == 'D'; }

// A decimal number taken apart: value = 0.digits x 10^magnitude, where
// digits has no leading zero (and is empty for zero).
struct Decimal {
    bool negative = false;
    std::string digits;
    std::int64_t exponent = 0;  // of the last digit
};

// Exponents are read with saturation; anything this far out is infinity or
// zero whatever the mantissa.
constexpr std::int64_t exponentLimit = 1'000'000'000;

std::int64_t readExponentDigits(const std::string& s, std::size_t& i) {
    std::int64_t value = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        value = std::min(exponentLimit, value * 10 + (s[i] - '0'));
    }
    return value;
}

// Reads the exponent that may follow the mantissa at i; when the letter and
// its sign are not followed by a digit, the number ends before the letter.
std::int64_t readExponent(const std::string& s, std::size_t i) {
    if (i >= s.size() || !isExponentLetter(s[i])) return 0;
    ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    if (i >= s.size() || !isDigit(s[i])) return 0;
    const std::int64_t value = readExponentDigits(s, i);
    return negative ? -value : value;
}

// Parses sign, mantissa and exponent; false when no mantissa digit is found.
bool readDecimal(const std::string& s, Decimal& decimal) {
    std::size_t i = 0;
    while (i < s.size() && isSpace(s[i])) ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) decimal.negative = s[i++] == '-';

    bool sawDigit = false;
    std::int64_t fractionDigits = 0;
    bool inFraction = false;
    for (; i < s.size(); ++i) {
        if (s[i] == '.' && !inFraction) {
            inFraction = true;
            continue;
        }
        if (!isDigit(s[i])) break;
        sawDigit = true;
        if (inFraction) ++fractionDigits;
        if (decimal.digits.empty() && s[i] == '0') continue;  // leading zeros carry no value
        decimal.digits.push_back(s[i]);
    }
    if (!sawDigit) return false;
    decimal.exponent = readExponent(s, i) - fractionDigits;
    return true;
}

double toDouble(const Decimal& decimal) {
    const double signedZero = decimal.negative ? -0.0 : 0.0;
    if (decimal.digits.empty()) return signedZero;
    const double signedInfinity = decimal.negative ? -HUGE_VAL : HUGE_VAL;
    // The value lies in [10^(magnitude-1), 10^magnitude).
    const std::int64_t magnitude = decimal.exponent + static_cast<std::int64_t>(decimal.digits.size());
    if (magnitude > 310) return signedInfinity;
    if (magnitude < -330) return signedZero;

    const std::string text = decimal.digits + 'e' + std::to_string(decimal.exponent);
    double value = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) return magnitude > 0 ? signedInfinity : signedZero;
    return decimal.negative ? -value : value;
}

}  // namespace

double textToNumber(std::string_view gbk) {
    Decimal decimal;
    if (!readDecimal(narrowFullWidth(gbk), decimal)) return 0.0;
    return toDouble(decimal);
}
