#include <algorithm>
#include <cstdint>

#include <gtest/gtest.h>

#include "app/blocks.h"
#include "app/bytes.h"
#include "app/text.h"

namespace {

// fatalStop ends the process with -1, which a POSIX parent reads as 255.
#ifdef _WIN32
constexpr int fatalExitStatus = -1;
#else
constexpr int fatalExitStatus = 255;
#endif

TEST(Blocks, ReleasingNullOrAConstantDoesNothing) {
    const auto before = liveBlockCount();
    releaseBlock(nullptr);
    releaseBlock(constantEmptyText);
    releaseBlock(constantEmptyBytes);
    EXPECT_EQ(liveBlockCount(), before);
}

TEST(Values, EmptyValuesReadAsTheConstants) {
    const Text text;
    const Bytes bytes;
    EXPECT_EQ(text.c_str(), constantEmptyText);
    EXPECT_EQ(bytes.data(), constantEmptyBytes);
    EXPECT_EQ(bytes.size(), 0u);
    EXPECT_FALSE(Text::copyOf("").hasBlock());
}

TEST(Values, EachBlockIsReleasedOnceByItsLastOwner) {
    const auto before = liveBlockCount();
    {
        Text first = Text::copyOf("abc");
        Text second = std::move(first);
        first = Text::copyOf("x");
        second = std::move(first);
        EXPECT_EQ(second.view(), "x");
        Bytes bytes = Bytes::ofSize(16);
        Bytes moved = std::move(bytes);
        EXPECT_EQ(moved.size(), 16u);
        EXPECT_EQ(liveBlockCount(), before + 2);
    }
    EXPECT_EQ(liveBlockCount(), before);
}

TEST(Values, AnImpossibleTryYieldsEmpty) {
    // A terabyte, or on a 32-bit system the largest size there is.
    const auto impossible = static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t(1) << 40, SIZE_MAX));
    EXPECT_TRUE(Bytes::tryOfSize(impossible).empty());
    EXPECT_TRUE(Bytes::tryOfSize(0).empty());
}

TEST(ObtainBlockDeathTest, ExhaustionStopsWithTheSizeInTheMessage) {
    // -7 stands for a size the heap cannot give; the message carries it.
    EXPECT_EXIT(obtainBlock(-7), testing::ExitedWithCode(fatalExitStatus),
                "\xB7\xD6\xC5\xE4 -7 \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!");
}

}  // namespace
