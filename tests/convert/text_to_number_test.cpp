#include <cmath>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "convert/numbers.h"

namespace {

struct NumberCase {
    std::string text;
    double expected;
};

const double infinity = std::numeric_limits<double>::infinity();

TEST(TextToNumber, ReadsTheDecimalSyntax) {
    const NumberCase cases[] = {
        {"", 0},          {"420", 420},       {"  420", 420},   {"\t420", 420},    {"+420", 420},
        {"- 5", 0},       {"-5", -5},         {".5", 0.5},      {"5.", 5},         {".", 0},
        {"12abc", 12},    {"12 34", 12},      {"1,5", 1},       {"1.2.3", 1.2},    {"5-3", 5},
        {"1e3", 1000},    {"1E3", 1000},      {"1d3", 1000},    {"1D3", 1000},     {"1e-2", 0.01},
        {"5e", 5},        {"5e+", 5},         {"5ex", 5},       {"5e00", 5},       {"0x1A", 0},
        {"inf", 0},       {"nan", 0},         {"+", 0},         {"-", 0},          {"   ", 0},
        {"-.5", -0.5},    {"1e+2", 100},      {"5e-x", 5},      {"007", 7},        {"0.0001e4", 1},
        {"1e999", infinity}, {"-1e999", -infinity}, {"1e-999", 0},
        {"1e99999999999999999999", infinity}, {"0e99999", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(textToNumber(c.text), c.expected) << "'" << c.text << "'";
}

TEST(TextToNumber, NarrowsFullWidthForms) {
    const NumberCase cases[] = {
        {"\xA3\xB4\xA3\xB2\xA3\xB0", 420},                  // ４２０
        {"\xA3\xB4\xA3\xB2\xA3\xB0\xA3\xAE\xA3\xB5", 420.5},  // ４２０．５
        {"\xA3\xAD\xA3\xB5", -5},                           // －５
        {"\xA3\xAB\xA3\xB5", 5},                            // ＋５
        {"\xA1\xA1" "12", 12},                              // ideographic space, then 12
        {"12\xD6\xD0", 12},                                 // 12 then 中
        {"\xD6\xD0" "12", 0},                               // 中 then 12
        {"\xA3\xB1\xA3\xE5\xA3\xB3", 1000},                 // １ｅ３
        {"\xA3\xB1\xA3\xC4\xA3\xB3", 1000},                 // １Ｄ３
        {"12\xA3", 12},                                     // a lone lead byte at the end
        {"\xA1\xAB" "5", 0},                                // full-width tilde is a tilde
    };
    for (const auto& c : cases) EXPECT_EQ(textToNumber(c.text), c.expected) << "'" << c.text << "'";
}

TEST(TextToNumber, RoundsToTheNearestDouble) {
    EXPECT_EQ(textToNumber("0.1"), 0.1);
    EXPECT_EQ(textToNumber("420.00000009"), 420.00000009);
    EXPECT_EQ(textToNumber("420.0000001"), 420.0000001);
    EXPECT_EQ(textToNumber("1.7976931348623157e308"), std::numeric_limits<double>::max());
    EXPECT_EQ(textToNumber("1.7976931348623159e308"), infinity);  // rounds past the largest double
    EXPECT_EQ(textToNumber("2.2250738585072014e-308"), std::numeric_limits<double>::min());
    EXPECT_EQ(textToNumber("4.9e-324"), std::numeric_limits<double>::denorm_min());
    EXPECT_EQ(textToNumber("1e-310"), 1e-310);
    EXPECT_TRUE(std::fpclassify(textToNumber("1e-310")) == FP_SUBNORMAL);
    EXPECT_EQ(textToNumber("2e-324"), 0.0);  // below half the smallest subnormal
    EXPECT_EQ(textToNumber("9007199254740993"), 9007199254740992.0);  // a tie goes to even
    EXPECT_EQ(textToNumber(std::string(400, '0') + "42"), 42);
    EXPECT_EQ(textToNumber("0." + std::string(400, '0') + "1e405"), 10000);
}

TEST(TextToNumber, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(textToNumber("-0")));
    EXPECT_TRUE(std::signbit(textToNumber("-1e-999")));
    EXPECT_FALSE(std::signbit(textToNumber("0")));
}

TEST(TruncateToInt, TruncatesThroughSixtyFourBits) {
    const struct {
        double value;
        std::int32_t expected;
    } cases[] = {
        {419.99, 419},           {420.00000009, 420},         {-0.5, 0},
        {-7.9, -7},              {2147483648.0, -2147483647 - 1}, {3000000000.0, -1294967296},
        {4294967396.0, 100},     {1e19, 0},                   {-1e19, 0},
        {infinity, 0},           {-infinity, 0},              {std::nan(""), 0},
        {9223372036854775808.0, 0}, {-9223372036854775808.0, 0},
        {9223372036854774784.0, -1024},  // 2^63 - 1024: low 32 bits 0xFFFFFC00
    };
    for (const auto& c : cases) EXPECT_EQ(truncateToInt(c.value), c.expected) << c.value;
}

TEST(ExceedsMaxSize, AllowsTheTolerance) {
    const struct {
        double value;
        bool exceeds;
    } cases[] = {
        {420, false},      {420.00000009, false}, {420.0000001, true}, {421, true},
        {infinity, true},  {0, false},            {-5, false},         {-infinity, false},
        {std::nan(""), false},
    };
    for (const auto& c : cases) EXPECT_EQ(exceedsMaxSize(c.value), c.exceeds) << c.value;
}

}  // namespace
