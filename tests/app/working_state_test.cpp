#include <gtest/gtest.h>

#include "app/blocks.h"
#include "app/working_state.h"

namespace {

TEST(WorkingState, ReleasesEveryBlockExactlyOnce) {
    const auto before = liveBlockCount();
    replaceSourcePath(Text::copyOf("first.png"));
    replaceSourcePath(Text::copyOf("second.png"));
    for (int size = 10; size <= 40; size += 10) replaceOutputImage(Bytes::ofSize(size));
    EXPECT_EQ(sourcePath().view(), "second.png");
    EXPECT_EQ(outputImage().size(), 40u);
    EXPECT_EQ(liveBlockCount(), before + 2);

    releaseWorkingState();
    EXPECT_EQ(liveBlockCount(), before);
    EXPECT_TRUE(sourcePath().empty());
    EXPECT_TRUE(outputImage().empty());

    releaseWorkingState();  // with both values empty it releases nothing
    EXPECT_EQ(liveBlockCount(), before);
}

TEST(WorkingState, AnEmptyImageReplacesTheOldOne) {
    replaceOutputImage(Bytes::ofSize(8));
    replaceOutputImage(Bytes());
    EXPECT_TRUE(outputImage().empty());
}

}  // namespace
