// The real window under its own message loop: found by class and caption,
// the slider's keys and a drag of its thumb, a typed and confirmed size,
// the refusal box, Enter and Esc.

#include "window_input.h"
#include "window_test.h"

namespace {

const std::wstring sizePrefix = L"当前图片大小：";

std::wstring sizeText(int size) { return sizePrefix + std::to_wstring(size); }

using WindowSizeControls = WindowTest;

TEST_F(WindowSizeControls, OpensCentredWithTheLabelAtZeroAndTheThumbAtTen) {
    RECT frame{};
    ::GetWindowRect(program.main(), &frame);
    EXPECT_EQ(frame.right - frame.left, 666);
    EXPECT_EQ(frame.bottom - frame.top, 464);
    EXPECT_EQ(frame.left, (::GetSystemMetrics(SM_CXSCREEN) - 666) / 2);
    EXPECT_EQ(frame.top, (::GetSystemMetrics(SM_CYSCREEN) - 464) / 2);
    EXPECT_EQ(windowText(program.main()), mainWindowName);
    EXPECT_EQ(windowText(controls().sizeLabel), sizeText(0));
    EXPECT_EQ(thumbPosition(controls().slider), 10);
    EXPECT_EQ(windowText(controls().statusLabel), L"");
}

TEST_F(WindowSizeControls, SliderKeysMoveTheThumbAndTheLabelFollows) {
    struct Step {
        WPARAM key;
        int position;
    };
    for (const Step step : {Step{VK_RIGHT, 20}, Step{VK_RIGHT, 30}, Step{VK_LEFT, 20}, Step{VK_END, 420},
                            Step{VK_NEXT, 420}, Step{VK_HOME, 10}, Step{VK_NEXT, 20}}) {
        SCOPED_TRACE(step.position);
        pressKey(controls().slider, step.key);
        EXPECT_EQ(thumbPosition(controls().slider), step.position);
        EXPECT_EQ(windowText(controls().sizeLabel), sizeText(step.position));
    }
}

// Every step of a drag reaches the label with the thumb's position, and
// the release leaves both where the thumb stays.
TEST_F(WindowSizeControls, DraggingTheThumbMovesTheLabelAtEachStep) {
    const RECT thumb = thumbRect(program.process(), controls().slider);
    ASSERT_GT(thumb.right, thumb.left);
    POINT mouse{(thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2};
    pressMouse(controls().slider, mouse);
    int lastPosition = 10;
    for (int step = 0; step < 5; ++step) {
        mouse.x += 20;
        moveMouse(controls().slider, mouse);
        const int position = thumbPosition(controls().slider);
        EXPECT_GT(position, lastPosition);
        EXPECT_EQ(windowText(controls().sizeLabel), sizeText(position));
        lastPosition = position;
    }
    releaseMouse(controls().slider, mouse);
    EXPECT_EQ(thumbPosition(controls().slider), lastPosition);
    EXPECT_EQ(windowText(controls().sizeLabel), sizeText(lastPosition));
}

// A confirmed size moves the thumb and the label shows it; the filter
// keeps letters out of the box, and the next key moves on from the thumb.
TEST_F(WindowSizeControls, ConfirmedSizeMovesTheThumbAndTheLabel) {
    typeText(controls().typedSizeBox, L"2x0.0");
    EXPECT_EQ(windowText(controls().typedSizeBox), L"200");
    clickButton(controls().confirmButton);
    EXPECT_TRUE(waitUntil([&] { return thumbPosition(controls().slider) == 200; }));
    EXPECT_TRUE(waitUntil([&] { return windowText(controls().sizeLabel) == sizeText(200); }));

    pressKey(controls().slider, VK_RIGHT);
    EXPECT_EQ(thumbPosition(controls().slider), 210);
    EXPECT_EQ(windowText(controls().sizeLabel), sizeText(210));
}

// A size beyond 420 is refused in a task-modal box that changes nothing;
// pasted texts pass the box's filter and are judged as numbers.
TEST_F(WindowSizeControls, SizesBeyond420AreRefusedInATaskModalBox) {
    struct Case {
        const wchar_t* pasted;
        bool refused;
        int size;  // of the thumb and the label afterwards
    };
    for (const Case each : {Case{L"421", true, 10}, Case{L"1e3", true, 10}, Case{L"420.0000001", true, 10},
                            Case{L"420.00000009", false, 420}, Case{L"2e2", false, 200}}) {
        SCOPED_TRACE(testing::Message() << "pasted " << std::string(each.pasted, each.pasted + wcslen(each.pasted)));
        // Home alone would say nothing with the thumb already at 10.
        pressKey(controls().slider, VK_END);
        pressKey(controls().slider, VK_HOME);
        pasteText(controls().typedSizeBox, each.pasted);
        EXPECT_EQ(windowText(controls().typedSizeBox), each.pasted);
        clickButton(controls().confirmButton);
        if (each.refused) {
            HWND box = waitForDialog(program.processId(), L"信息：");
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(showsText(box, L"最大420哈"));
            EXPECT_FALSE(::IsWindowEnabled(program.main()));
            pressDialogButton(box, IDOK);
            EXPECT_TRUE(waitUntil([&] { return ::IsWindowEnabled(program.main()) != FALSE; }));
        }
        EXPECT_TRUE(waitUntil([&] { return windowText(controls().sizeLabel) == sizeText(each.size); }));
        EXPECT_EQ(thumbPosition(controls().slider), each.size);
    }
}

// Both keys go through the window's message loop as typed into the size
// box: Enter must not press the confirm button (421 would open the refusal
// box, which Esc could not close), and Esc closes the window.
TEST_F(WindowSizeControls, EnterPressesNothingAndEscClosesWithExitCodeZero) {
    typeText(controls().typedSizeBox, L"421");
    ::PostMessageW(controls().typedSizeBox, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageW(controls().typedSizeBox, WM_KEYDOWN, VK_ESCAPE, 1);
    const std::optional<DWORD> exitCode = program.waitForExit(15000);
    ASSERT_TRUE(exitCode.has_value());
    EXPECT_EQ(*exitCode, 0u);
}

}  // namespace
