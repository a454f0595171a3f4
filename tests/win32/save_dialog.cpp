#include "save_dialog.h"

#include <dlgs.h>

#include "window_input.h"

namespace {

// The explorer-style dialog names its file-name field cmb13 (a combo box
// with an edit field); older templates use the edit field edt1.
HWND fileNameField(HWND dialog) {
    HWND field = ::GetDlgItem(dialog, cmb13);
    return field != nullptr ? field : ::GetDlgItem(dialog, edt1);
}

struct OwnedSearch {
    HWND owner;
    HWND found;
};

BOOL CALLBACK matchOwnedDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<OwnedSearch*>(data);
    if (::GetWindow(window, GW_OWNER) != search->owner || !isVisibleDialog(window)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND findOwnedDialog(HWND owner) {
    OwnedSearch search{owner, nullptr};
    ::EnumWindows(matchOwnedDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

std::wstring proposedName(HWND dialog) { return windowText(fileNameField(dialog)); }

void chooseFile(HWND dialog, std::wstring_view path) {
    const std::wstring text(path);
    ::SendMessageW(fileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    pressDialogButton(dialog, IDOK);
}

HWND waitForOwnedDialog(HWND owner, DWORD milliseconds) {
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = findOwnedDialog(owner)) != nullptr; }, milliseconds);
    return dialog;
}
