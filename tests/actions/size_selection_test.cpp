#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>

#include "actions/actions.h"
#include "actions/gbk_texts.h"
#include "app/working_state.h"
#include "support/bmp_icon_files.h"
#include "support/fake_host.h"
#include "window/description.h"
#include "window/drop_target.h"
#include "window/picture_box.h"

namespace {

namespace fs = std::filesystem;
namespace names = control_names;

constexpr std::uint32_t red = 0xFF0000;     // as a 0x00RRGGBB pixel
constexpr std::uint32_t green = 0x00E080;   // the preview's background as a pixel
constexpr std::int32_t pictureSide = 40;

std::string sizeLabelOf(std::int32_t size) { return gbk::sizeLabelPrefix + std::to_string(size); }

std::int32_t field32(const Bytes& file, std::size_t at) {
    std::int32_t value = 0;
    std::memcpy(&value, file.data() + at, 4);
    return value;
}

// The edge of a square bitmap file image; 0 when it is none.
std::int32_t squareEdge(const Bytes& file) {
    if (file.size() < 54 || file.data()[0] != 'B' || file.data()[1] != 'M') return 0;
    const std::int32_t width = field32(file, 18);
    return width == field32(file, 22) ? width : 0;
}

// The pixel in the middle of a bitmap file image, as 0x00RRGGBB.
std::uint32_t middlePixel(const Bytes& file) {
    const std::int32_t edge = squareEdge(file);
    const std::size_t rowLength = (3 * static_cast<std::size_t>(edge) + 3) / 4 * 4;
    const std::uint8_t* p = file.data() + 54 + static_cast<std::size_t>(edge / 2) * rowLength + 3 * (edge / 2);
    return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

std::int32_t storedPosition() { return std::get<std::int32_t>(readProperty(names::sizeSlider, property::position)); }

// The preview's client area as it would be painted now.
Raster paintedPreview() {
    std::optional<Raster> client = Raster::create(PictureBox::clientSize, PictureBox::clientSize);
    previewPictureBox().paint(*client);
    return std::move(*client);
}

class SizeSelection : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() / ("squarepic-size-" + std::to_string(::getpid()));
        fs::create_directories(folder_);
        openWindow(host_, actionHandlers());
    }
    void TearDown() override {
        raiseWindowDestroying();
        fs::remove_all(folder_);
    }

    // Drops a red picture on the window.
    void dropRedPicture() {
        bmp_icon_files::BmpDescription description;
        description.width = description.height = pictureSide;
        description.pixels.assign(pictureSide * pictureSide, 0xFFFF0000);
        const bmp_icon_files::FileBytes bytes = bmp_icon_files::writeBmp(description);
        const fs::path path = folder_ / "red.bmp";
        std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        const FakeDragData data = FakeDragData::ofFiles({path.string()});
        dragEnter(data, {}, static_cast<AllowedEffects>(DropEffect::Copy));
        drop(data, {}, static_cast<AllowedEffects>(DropEffect::Copy));
    }

    void confirmTypedSize(const std::string& typed) {
        host_.editTexts[std::string(names::typedSizeBox)] = typed;
        raiseClicked(names::confirmButton);
    }

    std::string sizeLabel() { return host_.controlTexts[std::string(names::sizeLabel)]; }

    FakeHost& host_ = freshFakeHost();
    fs::path folder_;
};

TEST_F(SizeSelection, StartsAtSizeZeroWithTheThumbAtTheMinimum) {
    EXPECT_EQ(sizeLabel(), sizeLabelOf(0));
    EXPECT_EQ(sliderThumbPosition(), 10);
    EXPECT_EQ(storedPosition(), 0);
    EXPECT_TRUE(outputImage().empty());
    EXPECT_FALSE(previewPictureBox().hasPicture());
    EXPECT_EQ(paintedPreview().pixel(209, 209), green);
}

TEST_F(SizeSelection, EachMoveOfTheSliderResizesAndRelabels) {
    dropRedPicture();
    struct Case {
        ScrollCode code;
        std::int32_t thumb;
    };
    const Case moves[] = {
        {ScrollCode::LineDown, 20},  // Right arrow from 10
        {ScrollCode::Bottom, 420},   // End
        {ScrollCode::Top, 10},       // Home
        {ScrollCode::ThumbTrack, 97},
        {ScrollCode::ThumbPosition, 100},
    };
    for (const Case& move : moves) {
        host_.forgetRepaintRequests();
        sliderScrolled(move.code, move.thumb);
        EXPECT_EQ(squareEdge(outputImage()), move.thumb);
        EXPECT_EQ(middlePixel(outputImage()), red) << move.thumb;
        EXPECT_EQ(sizeLabel(), sizeLabelOf(move.thumb));
        EXPECT_EQ(storedPosition(), move.thumb);
        EXPECT_GE(host_.repaintRequestsOf(names::preview), 1);
        const Raster preview = paintedPreview();
        EXPECT_EQ(preview.pixel(209, 209), red) << move.thumb;
        if (move.thumb < PictureBox::clientSize) {
            EXPECT_EQ(preview.pixel(0, 0), green) << move.thumb;
        }
    }
}

TEST_F(SizeSelection, BeforeAnyDropTheSquareIsOfTheCanvasBackground) {
    sliderScrolled(ScrollCode::LineDown, 20);
    EXPECT_EQ(squareEdge(outputImage()), 20);
    EXPECT_EQ(middlePixel(outputImage()), pixelFromColour(FakeHost::buttonFace));
    EXPECT_TRUE(previewPictureBox().hasPicture());
}

TEST_F(SizeSelection, TheEndOfAMoveRaisesNothing) {
    sliderScrolled(ScrollCode::EndTrack, 200);
    EXPECT_TRUE(outputImage().empty());
    EXPECT_EQ(sizeLabel(), sizeLabelOf(0));
    EXPECT_EQ(storedPosition(), 0);
    EXPECT_EQ(host_.repaintRequestsOf(names::preview), 0);
}

TEST_F(SizeSelection, AConfirmedSizeResizesMovesTheThumbAndRelabels) {
    struct Case {
        const char* typed;
        std::int32_t edge;
        std::int32_t thumb;
        std::int32_t stored;
        std::uint32_t middle;
    };
    const std::uint32_t background = pixelFromColour(FakeHost::buttonFace);
    const Case cases[] = {
        {"200", 200, 200, 200, red},
        {"420", 420, 420, 420, red},
        {"420.00000009", 420, 420, 420, red},  // within the tolerance of the limit
        {"2e2", 200, 200, 200, red},
        {"5", 5, 10, 5, red},  // below the slider's range: the thumb stays at its minimum
        // No number reads as 0: the picture is drawn at size 0 on a 1 x 1 square.
        {"abc", 1, 10, 0, background},
    };
    dropRedPicture();
    for (const Case& test : cases) {
        host_.thumbPlacements.clear();
        confirmTypedSize(test.typed);
        EXPECT_EQ(squareEdge(outputImage()), test.edge) << test.typed;
        EXPECT_EQ(middlePixel(outputImage()), test.middle) << test.typed;
        EXPECT_EQ(host_.thumbPlacements, std::vector<std::int32_t>{test.thumb}) << test.typed;
        EXPECT_EQ(storedPosition(), test.stored) << test.typed;
        EXPECT_EQ(sizeLabel(), sizeLabelOf(test.stored)) << test.typed;
        EXPECT_TRUE(host_.messageBoxes.empty()) << test.typed;
    }
    // The next step of the slider goes from where the thumb stands.
    sliderScrolled(ScrollCode::LineDown, 20);
    EXPECT_EQ(squareEdge(outputImage()), 20);
    EXPECT_EQ(sizeLabel(), sizeLabelOf(20));
}

TEST_F(SizeSelection, ASizeAboveTheLimitIsRefusedAndChangesNothing) {
    dropRedPicture();
    sliderScrolled(ScrollCode::PageDown, 30);
    const std::vector<std::uint8_t> square(outputImage().data(), outputImage().data() + outputImage().size());
    host_.thumbPlacements.clear();
    host_.forgetRepaintRequests();

    for (const char* typed : {"421", "1e3", "420.0000001"}) {
        host_.messageBoxes.clear();
        confirmTypedSize(typed);
        ASSERT_EQ(host_.messageBoxes.size(), 1u) << typed;
        EXPECT_EQ(host_.messageBoxes[0].text, gbk::sizeLimitMessage);
        EXPECT_EQ(host_.messageBoxes[0].caption, gbk::sizeLimitCaption);
        EXPECT_EQ(std::vector<std::uint8_t>(outputImage().data(), outputImage().data() + outputImage().size()),
                  square);
        EXPECT_EQ(sizeLabel(), sizeLabelOf(30));
        EXPECT_EQ(storedPosition(), 30);
        EXPECT_TRUE(host_.thumbPlacements.empty());
        EXPECT_EQ(host_.repaintRequestsOf(names::preview), 0);
    }
}

}  // namespace
