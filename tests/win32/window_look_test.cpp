// The window as a user sees it: its Chinese texts in place and the green
// preview painted. With SQUAREPIC_SCREENSHOT naming a file, a screenshot of
// it goes there for a person to look at.

#include <cstdlib>
#include <iterator>

#include "screenshot.h"
#include "window_input.h"
#include "window_test.h"

namespace {

using WindowLook = WindowTest;

// The width of the image in the program file's icon that Windows picks for
// a size x size icon; 0 when there is none.
int iconImageWidthFor(HMODULE program, int size) {
    HRSRC group = ::FindResourceW(program, MAKEINTRESOURCEW(1), RT_GROUP_ICON);
    if (group == nullptr) return 0;
    auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(program, group)));
    const int id = ::LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = ::FindResourceW(program, MAKEINTRESOURCEW(id), RT_ICON);
    if (image == nullptr || ::SizeofResource(program, image) < sizeof(BITMAPINFOHEADER)) return 0;
    const auto* header = static_cast<const BITMAPINFOHEADER*>(::LockResource(::LoadResource(program, image)));
    return header->biWidth;
}

// The caption's small icon and the large one each have an image drawn at
// their size, so Windows scales neither.
TEST(ProgramFile, HoldsItsIconDrawnAtTheSmallAndTheLargeSize) {
    HMODULE program = ::LoadLibraryExW(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(program, nullptr);
    for (const int size : {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CXICON), 16, 32, 48}) {
        EXPECT_EQ(iconImageWidthFor(program, size), size);
    }
    ::FreeLibrary(program);
}

TEST_F(WindowLook, ShowsItsTextsAndTheGreenPreview) {
    const wchar_t* const texts[] = {
        L"宽度：", L"自定义大小：", L"确定", L"保存", L"当前图片大小：0", L"可以直接拖入图片调整大小。\r\n最大到尺寸到420",
        L"自定义保存图片大小", L"图片尺寸：", L"大小木有限制自己定吧...", L"Qelmora： Tavix",
    };
    for (std::size_t i = 0; i < std::size(texts); ++i) EXPECT_TRUE(showsText(program.main(), texts[i])) << "text " << i;
    for (const POINT point : {POINT{0, 0}, POINT{417, 417}, POINT{previewMiddle, previewMiddle}}) {
        EXPECT_TRUE(waitUntil([&] { return screenColourAt(controls().preview, point.x, point.y) == previewGreen; }))
            << point.x << ", " << point.y;
    }
    if (const wchar_t* path = ::_wgetenv(L"SQUAREPIC_SCREENSHOT")) {
        EXPECT_TRUE(saveScreenshot(program.main(), path));
    }
}

}  // namespace
