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
#include "app/lifecycle.h"
#include "app/working_state.h"
#include "support/fake_host.h"
#include "support/jpeg_png_files.h"
#include "window/description.h"
#include "window/drop_target.h"
#include "window/picture_box.h"

namespace {

namespace fs = std::filesystem;
namespace names = control_names;

using FileBytes = std::vector<std::uint8_t>;

constexpr std::uint32_t green = 0x00E080;  // the preview's background as a pixel
constexpr std::uint32_t orange = 0xFF8000;  // the dropped pictures' colour as a pixel
constexpr AllowedEffects copyOrMove =
    static_cast<AllowedEffects>(DropEffect::Copy) | static_cast<AllowedEffects>(DropEffect::Move);

// A 100 x 50 orange PNG: previewed unscaled at (159, 184) of the client area.
FileBytes orangePng() {
    jpeg_png_files::PngDescription description;
    description.width = 100;
    description.height = 50;
    description.colours = jpeg_png_files::PngColours::Rgb;
    for (std::uint32_t i = 0; i < 100 * 50; ++i) description.samples.insert(description.samples.end(), {255, 128, 0});
    return jpeg_png_files::writePng(description);
}

FileBytes bytesOf(const Bytes& bytes) { return FileBytes(bytes.data(), bytes.data() + bytes.size()); }

// The pixel in the middle of a bitmap file image, as 0x00RRGGBB.
std::uint32_t middlePixel(const Bytes& file) {
    std::int32_t edge = 0;
    std::memcpy(&edge, file.data() + 18, 4);
    const std::size_t rowLength = (3 * static_cast<std::size_t>(edge) + 3) / 4 * 4;
    const std::uint8_t* p = file.data() + 54 + static_cast<std::size_t>(edge / 2) * rowLength + 3 * (edge / 2);
    return static_cast<std::uint32_t>(p[2]) << 16 | p[1] << 8 | p[0];
}

Raster paintedPreview() {
    std::optional<Raster> client = Raster::create(PictureBox::clientSize, PictureBox::clientSize);
    previewPictureBox().paint(*client);
    return std::move(*client);
}

bool previewShowsTheOrangePicture() {
    const Raster preview = paintedPreview();
    return previewPictureBox().hasPicture() && preview.pixel(159, 184) == orange && preview.pixel(258, 233) == orange &&
           preview.pixel(158, 184) == green && preview.pixel(159, 183) == green;
}

std::int32_t storedPosition() { return std::get<std::int32_t>(readProperty(names::sizeSlider, property::position)); }

// A fresh folder of test files, removed with everything in it.
class TestFolder {
public:
    TestFolder() : path_(fs::temp_directory_path() / ("squarepic-drop-" + std::to_string(::getpid()))) {
        fs::create_directories(path_);
    }
    ~TestFolder() { fs::remove_all(path_); }

    const fs::path& path() const { return path_; }

    std::string write(const std::string& name, const FileBytes& bytes) const {
        const fs::path file = path_ / name;
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file.string();
    }

private:
    fs::path path_;
};

void dropFiles(const std::vector<std::string>& paths, DragKeys keys = {}) {
    const FakeDragData data = FakeDragData::ofFiles(paths);
    dragEnter(data, {}, copyOrMove);
    drop(data, keys, copyOrMove);
}

class DropIntake : public testing::Test {
protected:
    void SetUp() override { openWindow(host_, actionHandlers()); }
    void TearDown() override { raiseWindowDestroying(); }

    FakeHost& host_ = freshFakeHost();
    TestFolder folder_;
};

TEST_F(DropIntake, ADroppedPictureIsPreviewedUnchangedAndResizedOnlyLater) {
    sliderScrolled(ScrollCode::LineDown, 30);
    const FileBytes squareBefore = bytesOf(outputImage());
    const std::string label = host_.controlTexts[std::string(names::sizeLabel)];
    host_.thumbPlacements.clear();

    const std::string picture = folder_.write("orange.png", orangePng());
    dropFiles({picture});
    EXPECT_EQ(sourcePath().view(), picture);
    EXPECT_TRUE(previewShowsTheOrangePicture());
    EXPECT_EQ(bytesOf(outputImage()), squareBefore);
    EXPECT_EQ(host_.controlTexts[std::string(names::sizeLabel)], label);
    EXPECT_TRUE(host_.thumbPlacements.empty());
    EXPECT_EQ(storedPosition(), 30);

    sliderScrolled(ScrollCode::LineDown, 40);
    EXPECT_EQ(middlePixel(outputImage()), orange);
}

TEST_F(DropIntake, WhatHoldsNoPictureClearsThePreview) {
    const std::string picture = folder_.write("orange.png", orangePng());
    const std::string other = folder_.write("second.png", orangePng());
    struct Case {
        const char* what;
        std::vector<std::string> paths;
        std::string source;
    };
    const std::string folder = folder_.path().string();
    const std::string text = folder_.write("notes.png", {'h', 'e', 'l', 'l', 'o', '\n'});
    const std::string empty = folder_.write("empty.png", {});
    const std::string missing = (folder_.path() / "gone.png").string();
    const Case cases[] = {
        {"three files", {picture, other, picture}, picture + "\r\n" + other + "\r\n" + picture + "\r\n"},
        {"a folder", {folder}, folder},
        {"a text file", {text}, text},
        {"a zero-length file", {empty}, empty},
        {"a missing file", {missing}, missing},
        {"an empty list", {}, ""},
    };
    for (const Case& test : cases) {
        dropFiles({picture});
        ASSERT_TRUE(previewPictureBox().hasPicture());
        dropFiles(test.paths);
        EXPECT_EQ(sourcePath().view(), test.source) << test.what;
        EXPECT_FALSE(previewPictureBox().hasPicture()) << test.what;
        EXPECT_EQ(paintedPreview().pixel(209, 209), green) << test.what;
    }
}

TEST_F(DropIntake, TextAndRefusedDropsChangeNothing) {
    const std::string picture = folder_.write("orange.png", orangePng());
    dropFiles({picture});

    const FakeDragData text = FakeDragData::ofText("some words");
    dragEnter(text, {}, copyOrMove);
    drop(text, {}, copyOrMove);
    dropFiles({folder_.write("empty.png", {})}, {true, true});  // Ctrl and Shift held: no effect

    EXPECT_EQ(sourcePath().view(), picture);
    EXPECT_TRUE(previewShowsTheOrangePicture());
}

TEST_F(DropIntake, ANameOutsideGbkOpensPreviewsAndResizes) {
    const std::string picture = folder_.write("caf\xC3\xA9 \xE2\x9C\x93.png", orangePng());  // café ✓.png in UTF-8
    dropFiles({picture});
    EXPECT_EQ(sourcePath().view(), picture);
    EXPECT_TRUE(previewShowsTheOrangePicture());
    sliderScrolled(ScrollCode::LineDown, 20);
    EXPECT_EQ(middlePixel(outputImage()), orange);
}

TEST(DropIntakeReadFileBytes, GivesTheWholeFileOrEmptyBytes) {
    const TestFolder folder;
    const FileBytes content = {'B', 'M', 0, 1, 2, 255};
    const std::string file = folder.write("file.bin", content);
    EXPECT_EQ(bytesOf(readFileBytes(Text::copyOf(file))), content);
    const std::string unreadable[] = {
        "",
        folder.path().string(),
        (folder.path() / "missing.bin").string(),
        folder.write("empty.bin", {}),
    };
    for (const std::string& name : unreadable) EXPECT_TRUE(readFileBytes(Text::copyOf(name)).empty()) << name;
}

// A run as the program makes it: start-up, a drop and a slider move in
// the message loop, then the window closes and the program ends.
TEST(DropIntakeRun, TakesDropsFromReadyToClose) {
    const TestFolder folder;
    const std::string picture = folder.write("orange.png", orangePng());
    FakeHost& host = freshFakeHost();
    bool previewed = false;
    host.script = {
        [&] { dropFiles({picture}); },
        [&] { previewed = previewShowsTheOrangePicture(); },
        [] { sliderScrolled(ScrollCode::LineDown, 20); },
    };
    EXPECT_EQ(startProgram(host, mainWindowHooks(host, actionHandlers())), 0);

    EXPECT_TRUE(previewed);
    EXPECT_EQ(host.controlTexts[std::string(names::sizeLabel)], gbk::sizeLabelPrefix + std::string("20"));
    ASSERT_EQ(host.dropRegistrations.size(), 2u);
    EXPECT_TRUE(host.dropRegistrations[0].registered);
    EXPECT_FALSE(host.dropRegistrations[1].registered);
    EXPECT_EQ(dragEnter(FakeDragData::ofFiles({picture}), {}, copyOrMove), DropEffect::None);
    // The exit routine released the working state.
    EXPECT_TRUE(sourcePath().empty());
    EXPECT_TRUE(outputImage().empty());
}

}  // namespace
