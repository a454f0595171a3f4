#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drag_source.h"
#include "running_window.h"
#include "support/bmp_icon_files.h"
#include "test_folder.h"

using bmp_icon_files::solidBitmap;

// Each window test starts the program afresh, with a folder for its files
// and OLE ready for drags.
class WindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    const WindowControls& controls() const { return program.controls(); }

    // The middle of the preview's client area, on the screen.
    POINT previewPoint() const;
    // Drops the files on the middle of the preview; the effect answered.
    DWORD dropOnPreview(const std::vector<std::wstring>& paths, HeldKeys keys = HeldKeys::None) const;

    RunningWindow program;
    TestFolder folder;

private:
    bool oleReady_ = false;
};

// The preview's client area is 418 x 418, a picture centred in it.
constexpr int previewMiddle = 209;
// The preview's background, 0x00RRGGBB.
constexpr std::uint32_t previewGreen = 0x00E080;
