// Drops from another process through OLE onto the real window: files show
// in the preview as they are (a GIF plays), whatever part of the window
// they land on, under names of any alphabet; text and drops with Ctrl and
// Shift held deliver nothing, and every drop is refused to its source.

#include "support/gif_pcx_files.h"
#include "window_input.h"
#include "window_test.h"

namespace {

constexpr std::uint32_t red = 0xCC3322;
constexpr std::uint32_t blue = 0x2244DD;
constexpr int aboveBand = 100;  // above a 20-pixel band through the middle

POINT onScreen(HWND window, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    return point;
}

class WindowDrops : public WindowTest {
protected:
    std::uint32_t previewColour(int x, int y) const { return screenColourAt(controls().preview, x, y); }
    bool previewShows(std::uint32_t colour, int x = previewMiddle, int y = previewMiddle) const {
        return waitUntil([&] { return previewColour(x, y) == colour; });
    }
};

// Every drop is refused, so the source never deletes what it moved.
void expectRefused(DWORD effect) { EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE)); }

// The picture shows at its own size, the size controls stay as they were,
// and the next size move squares the dropped file.
TEST_F(WindowDrops, DroppedFileShowsAsItIsAndTheSliderSquaresIt) {
    const std::wstring band = folder.write(L"band.bmp", solidBitmap(400, 20, red));
    expectRefused(dropOnPreview({band}));
    EXPECT_TRUE(previewShows(red));
    EXPECT_EQ(previewColour(previewMiddle, aboveBand), previewGreen);
    EXPECT_EQ(windowText(controls().sizeLabel), L"当前图片大小：0");
    EXPECT_EQ(thumbPosition(controls().slider), 10);

    pressKey(controls().slider, VK_END);
    EXPECT_TRUE(previewShows(red, previewMiddle, aboveBand));
}

// Anywhere on the window is a drop zone, and a name outside every code page
// reaches the file.
TEST_F(WindowDrops, FilesDroppedOnAnyPartOfTheWindowShow) {
    struct Case {
        const wchar_t* name;
        std::uint32_t colour;
        HWND where;
    };
    const Case cases[] = {
        {L"on the preview.bmp", red, controls().preview},
        {L"한글 Ωμέγα 图片.bmp", blue, controls().sizeLabel},
        {L"on a group box.bmp", 0x11AA55, ::GetParent(controls().customSizeBox)},
        {L"on a label.bmp", red, controls().statusLabel},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(testing::Message() << "colour " << std::hex << each.colour);
        const std::wstring path = folder.write(each.name, solidBitmap(30, 30, each.colour));
        expectRefused(dragFiles(onScreen(each.where, 2, 2), {path}));
        EXPECT_TRUE(previewShows(each.colour));
    }
}

// The animation's thread asks the window for its repaints, and the frames
// come to the screen in turn.
TEST_F(WindowDrops, DroppedGifPlaysItsFrames) {
    const std::wstring gif = folder.write(L"moving.gif", gif_pcx_files::twoFrameGif(30, 30, red, blue, 20));
    expectRefused(dropOnPreview({gif}));
    EXPECT_TRUE(previewShows(red));
    EXPECT_TRUE(previewShows(blue));
    EXPECT_TRUE(previewShows(red));
}

// Three names joined are no file: the preview is cleared.
TEST_F(WindowDrops, ThreeFilesAtOnceClearThePreview) {
    std::vector<std::wstring> paths;
    for (const wchar_t* name : {L"one.bmp", L"two.bmp", L"three.bmp"}) {
        paths.push_back(folder.write(name, solidBitmap(30, 30, red)));
    }
    expectRefused(dropOnPreview({paths[0]}));
    ASSERT_TRUE(previewShows(red));
    expectRefused(dropOnPreview(paths));
    EXPECT_TRUE(previewShows(previewGreen));
}

// Neither a text drop nor a file dropped with Ctrl and Shift held changes the
// source: the slider still squares the file dropped before them.
TEST_F(WindowDrops, TextAndControlShiftDropsDeliverNothing) {
    const std::wstring band = folder.write(L"band.bmp", solidBitmap(400, 20, red));
    const std::wstring other = folder.write(L"other.bmp", solidBitmap(30, 30, blue));
    expectRefused(dropOnPreview({band}));
    ASSERT_TRUE(previewShows(red));

    expectRefused(dragText(previewPoint(), L"C:\\not a picture.bmp"));
    expectRefused(dropOnPreview({other}, HeldKeys::ControlAndShift));
    pressKey(controls().slider, VK_END);
    EXPECT_TRUE(waitUntil([&] { return previewColour(previewMiddle, aboveBand) != previewGreen; }));
    EXPECT_EQ(previewColour(previewMiddle, aboveBand), red);
}

}  // namespace
