#include <gtest/gtest.h>

#include "imaging/picture.h"

namespace {

std::unique_ptr<Picture> somePicture() {
    auto picture = std::make_unique<Picture>();
    picture->kind = PictureKind::Bmp;
    picture->width = picture->height = 1;
    picture->pixels = Bytes::ofSize(3);
    return picture;
}

TEST(PictureTable, RegistersAndReleasesByHandle) {
    const PictureHandle first = registerPicture(somePicture());
    const PictureHandle second = registerPicture(somePicture());
    EXPECT_NE(first, 0u);
    EXPECT_NE(first, second);
    EXPECT_TRUE(isRegisteredPicture(first));
    EXPECT_FALSE(isRegisteredPicture(0));
    EXPECT_EQ(registerPicture(nullptr), 0u);

    releasePicture(first);
    EXPECT_FALSE(isRegisteredPicture(first));
    EXPECT_EQ(registeredPicture(first), nullptr);
    releasePicture(first);  // no longer registered: nothing happens
    releasePicture(0);
    EXPECT_TRUE(isRegisteredPicture(second));
    releasePicture(second);
}

TEST(LoadPicture, RefusesWhatIsNoPicture) {
    using namespace std::string_literals;
    const std::string seven = "BMxxxxx";
    const std::string text = "just some words, not a picture";
    EXPECT_EQ(loadPicture(ByteView{}), 0u);
    EXPECT_EQ(loadPicture(ByteView{reinterpret_cast<const std::uint8_t*>(seven.data()), seven.size()}), 0u);
    EXPECT_EQ(loadPicture(ByteView{reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}), 0u);
    EXPECT_EQ(loadPicture(Text()), 0u);
    EXPECT_EQ(loadPicture(Text::copyOf("no such file.png")), 0u);
}

}  // namespace
