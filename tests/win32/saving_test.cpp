// The save buttons through the platform's real save dialog: the file holds
// the bitmap of the typed size, the status label reports, the next dialog
// proposes the last path, and a target held open elsewhere stays as it was.

#include "save_dialog.h"
#include "support/picture_reading.h"
#include "window_input.h"
#include "window_test.h"

namespace {

const std::wstring saved = L"保存成功！";
const std::wstring failed = L"保存失败...";
constexpr std::uint32_t sourceColour = 0x3366CC;

// The whole file: a 24-bit bitmap of edge x edge pixels, every one of the
// colour, its rows padded with zeros.
testing::AssertionResult isSolidBitmap(const std::vector<std::uint8_t>& file, int edge, std::uint32_t rgb) {
    const std::size_t rowLength = (3 * static_cast<std::size_t>(edge) + 3) / 4 * 4;
    if (file.size() != 54 + rowLength * edge) return testing::AssertionFailure() << "length " << file.size();
    if (file[0] != 'B' || file[1] != 'M') return testing::AssertionFailure() << "no BM";
    using picture_reading::field32;
    if (field32(file.data(), 18) != edge || field32(file.data(), 22) != edge || file[28] != 24) {
        return testing::AssertionFailure() << "header of " << field32(file.data(), 18) << " x "
                                           << field32(file.data(), 22) << " at " << int(file[28]) << " bits";
    }
    for (int y = 0; y < edge; ++y) {
        for (int x = 0; x < edge; ++x) {
            if (picture_reading::bitmapPixel(file.data(), x, y) != rgb) {
                return testing::AssertionFailure() << "pixel " << x << ", " << y;
            }
        }
    }
    return testing::AssertionSuccess();
}

class WindowSaving : public WindowTest {
protected:
    void dropSource() { dropOnPreview({folder.write(L"source.bmp", solidBitmap(30, 20, sourceColour))}); }

    // Presses the button and waits for the save dialog it opens.
    HWND openSaveDialog(HWND button) {
        clickButton(button);
        return waitForDialog(program.processId());
    }

    // Answers the dialog's question whether to replace the file with yes.
    static void confirmReplace(HWND saveDialog) {
        HWND question = waitForOwnedDialog(saveDialog);
        ASSERT_NE(question, nullptr);
        pressDialogButton(question, IDYES);
    }

    bool statusReads(const std::wstring& text) {
        return waitUntil([&] { return windowText(controls().statusLabel) == text; });
    }
};

// Both buttons, at sizes the confirm button would refuse; the preview's
// size controls stay as they were.
TEST_F(WindowSaving, EachButtonWritesTheBitmapOfItsTypedSize) {
    struct Case {
        HWND WindowControls::*sizeBox;
        HWND WindowControls::*button;
        const wchar_t* size;
        int edge;
    };
    dropSource();
    for (const Case each : {Case{&WindowControls::typedSizeBox, &WindowControls::saveButton, L"500", 500},
                            Case{&WindowControls::customSizeBox, &WindowControls::customSaveButton, L"1000", 1000}}) {
        SCOPED_TRACE(each.edge);
        const std::wstring name = L"square" + std::to_wstring(each.edge) + L".jpg";
        typeText(controls().*each.sizeBox, each.size);
        HWND dialog = openSaveDialog(controls().*each.button);
        ASSERT_NE(dialog, nullptr);
        chooseFile(dialog, folder.file(name));
        // The file appears whole, by a rename, once it is written.
        ASSERT_TRUE(waitUntil([&] { return !folder.read(name).empty(); }));
        EXPECT_TRUE(isSolidBitmap(folder.read(name), each.edge, sourceColour));
        EXPECT_TRUE(statusReads(saved));
        EXPECT_EQ(thumbPosition(controls().slider), 10);
        EXPECT_EQ(windowText(controls().sizeLabel), L"当前图片大小：0");
    }
}

// The first dialog proposes ".jpg"; a name typed without an extension gets
// it; the next dialog opens on the path confirmed last, so its OK saves
// there again; a cancelled dialog writes nothing and leaves the status.
TEST_F(WindowSaving, TheNextDialogProposesTheLastConfirmedPath) {
    dropSource();
    typeText(controls().typedSizeBox, L"40");
    HWND dialog = openSaveDialog(controls().saveButton);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(proposedName(dialog), L".jpg");
    chooseFile(dialog, folder.file(L"first"));
    ASSERT_TRUE(statusReads(saved));
    EXPECT_TRUE(isSolidBitmap(folder.read(L"first.jpg"), 40, sourceColour));

    pasteText(controls().typedSizeBox, L"50");
    dialog = openSaveDialog(controls().saveButton);
    ASSERT_NE(dialog, nullptr);
    // The dialog shows the folder of the proposal as its own, and its name.
    EXPECT_EQ(proposedName(dialog), L"first.jpg");
    pressDialogButton(dialog, IDOK);
    confirmReplace(dialog);
    EXPECT_TRUE(waitUntil([&] { return isSolidBitmap(folder.read(L"first.jpg"), 50, sourceColour); }));

    pasteText(controls().typedSizeBox, L"60");
    dialog = openSaveDialog(controls().saveButton);
    ASSERT_NE(dialog, nullptr);
    pressDialogButton(dialog, IDCANCEL);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(dialog); }));
    EXPECT_EQ(windowText(controls().statusLabel), saved);
    EXPECT_TRUE(isSolidBitmap(folder.read(L"first.jpg"), 50, sourceColour));
}

// A target another program holds open cannot be replaced: the save fails
// and the file stays whole; once it is free, the same save succeeds.
TEST_F(WindowSaving, ATargetHeldOpenElsewhereStaysAsItWas) {
    dropSource();
    typeText(controls().typedSizeBox, L"30");
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    const std::wstring target = folder.write(L"busy.jpg", old);
    HANDLE holder =
        ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);

    HWND dialog = openSaveDialog(controls().saveButton);
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, target);
    confirmReplace(dialog);
    EXPECT_TRUE(statusReads(failed));
    ::CloseHandle(holder);
    EXPECT_EQ(folder.read(L"busy.jpg"), old);

    dialog = openSaveDialog(controls().saveButton);
    ASSERT_NE(dialog, nullptr);
    chooseFile(dialog, target);
    confirmReplace(dialog);
    EXPECT_TRUE(statusReads(saved));
    EXPECT_TRUE(isSolidBitmap(folder.read(L"busy.jpg"), 30, sourceColour));
}

}  // namespace
