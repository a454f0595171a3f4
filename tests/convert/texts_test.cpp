#include <gtest/gtest.h>

#include "convert/texts.h"

namespace {

constexpr char sizeLabelPrefix[] = "\xB5\xB1\xC7\xB0\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1\xA3\xBA";  // 当前图片大小：

TEST(IntToText, WritesSignedDecimal) {
    EXPECT_EQ(intToText(0).view(), "0");
    EXPECT_EQ(intToText(-5).view(), "-5");
    EXPECT_EQ(intToText(420).view(), "420");
    EXPECT_EQ(intToText(2147483647).view(), "2147483647");
    EXPECT_EQ(intToText(-2147483647 - 1).view(), "-2147483648");
}

TEST(TextLength, CountsBytesBeforeTheZero) {
    EXPECT_EQ(textLength(nullptr), 0);
    EXPECT_EQ(textLength(""), 0);
    EXPECT_EQ(textLength(sizeLabelPrefix), 14);
}

TEST(JoinTexts, JoinsIntoANewBlock) {
    const Text number = intToText(420);
    const Text label = joinTexts({sizeLabelPrefix, number.view()});
    EXPECT_EQ(textLength(label.c_str()), 17);
    EXPECT_EQ(label.view(), std::string(sizeLabelPrefix) + "420");

    const Text empty = joinTexts({std::string_view(), Text().view()});
    EXPECT_TRUE(empty.hasBlock());
    EXPECT_TRUE(empty.empty());
}

}  // namespace
