#include "window_test.h"

#include <ole2.h>

void WindowTest::SetUp() {
    oleReady_ = SUCCEEDED(::OleInitialize(nullptr));
    ASSERT_TRUE(oleReady_);
    ASSERT_TRUE(folder.valid());
    ASSERT_TRUE(program.started());
    const WindowControls& c = controls();
    for (HWND control : {c.slider, c.typedSizeBox, c.confirmButton, c.saveButton, c.customSizeBox,
                         c.customSaveButton, c.sizeLabel, c.statusLabel, c.preview}) {
        ASSERT_NE(control, nullptr);
    }
}

void WindowTest::TearDown() {
    if (oleReady_) ::OleUninitialize();
}

POINT WindowTest::previewPoint() const {
    POINT point{previewMiddle, previewMiddle};
    ::ClientToScreen(controls().preview, &point);
    return point;
}

DWORD WindowTest::dropOnPreview(const std::vector<std::wstring>& paths, HeldKeys keys) const {
    return dragFiles(previewPoint(), paths, keys);
}
