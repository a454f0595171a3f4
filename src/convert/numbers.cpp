#include "convert/numbers.h"

#include <cmath>

std::int32_t truncateToInt(double value) {
    const double whole = std::trunc(value);
    constexpr double twoTo63 = 9223372036854775808.0;
    if (!(whole >= -twoTo63 && whole < twoTo63)) return 0;  // also NaN and the infinities
    const auto wide = static_cast<std::int64_t>(whole);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

bool exceedsMaxSize(double value) { return value - maxTypedSize > sizeTolerance; }
