#include "window_input.h"

#include <commctrl.h>

#include <vector>

namespace {

constexpr DWORD pollInterval = 50;

// Window enumeration calls back with the Windows calling convention, which
// a lambda does not have on 32-bit Windows.
BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Every window inside a parent, at any depth.
std::vector<HWND> descendantsOf(HWND parent) {
    std::vector<HWND> found;
    ::EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool isDialogOf(HWND window, DWORD processId, std::wstring_view caption) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    return owner == processId && isVisibleDialog(window) && (caption.empty() || windowText(window) == caption);
}

struct DialogSearch {
    DWORD processId;
    std::wstring_view caption;
    HWND found;
};

BOOL CALLBACK matchDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    if (!isDialogOf(window, search->processId, search->caption)) return TRUE;
    search->found = window;
    return FALSE;
}

HWND findDialog(DWORD processId, std::wstring_view caption) {
    DialogSearch search{processId, caption, nullptr};
    ::EnumWindows(matchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Puts the text on the clipboard as Unicode text; false when it cannot.
bool putOnClipboard(std::wstring_view text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return false;
    auto* characters = static_cast<wchar_t*>(::GlobalLock(memory));
    text.copy(characters, text.size());
    characters[text.size()] = L'\0';
    ::GlobalUnlock(memory);
    if (!::OpenClipboard(nullptr)) {
        ::GlobalFree(memory);
        return false;
    }
    ::EmptyClipboard();
    const bool placed = ::SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!placed) ::GlobalFree(memory);  // the clipboard owns it only once placed
    ::CloseClipboard();
    return placed;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const ULONGLONG end = ::GetTickCount64() + milliseconds;
    while (!condition()) {
        if (::GetTickCount64() >= end) return condition();
        ::Sleep(pollInterval);
    }
    return true;
}

std::wstring windowText(HWND window) {
    const auto length = static_cast<std::size_t>(::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(length + 1, L'\0');
    const auto read = static_cast<std::size_t>(
        ::SendMessageW(window, WM_GETTEXT, static_cast<WPARAM>(text.size()), reinterpret_cast<LPARAM>(text.data())));
    text.resize(std::min(read, length));
    return text;
}

void pressKey(HWND control, WPARAM key) {
    const UINT scanCode = ::MapVirtualKeyW(static_cast<UINT>(key), MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | static_cast<LPARAM>(scanCode) << 16;
    const LPARAM up = down | static_cast<LPARAM>(1) << 30 | static_cast<LPARAM>(1) << 31;
    ::SendMessageW(control, WM_KEYDOWN, key, down);
    ::SendMessageW(control, WM_KEYUP, key, up);
}

void typeText(HWND editBox, std::wstring_view text) {
    for (wchar_t character : text) ::SendMessageW(editBox, WM_CHAR, character, 1);
}

void pasteText(HWND editBox, std::wstring_view text) {
    if (!putOnClipboard(text)) return;
    ::SendMessageW(editBox, EM_SETSEL, 0, -1);
    ::SendMessageW(editBox, WM_PASTE, 0, 0);
}

void clickButton(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

bool isVisibleDialog(HWND window) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    return ::IsWindowVisible(window) && std::wstring_view(className) == L"#32770";
}

HWND waitForDialog(DWORD processId, std::wstring_view caption, DWORD milliseconds) {
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = findDialog(processId, caption)) != nullptr; }, milliseconds);
    return dialog;
}

bool showsText(HWND window, std::wstring_view text) {
    for (HWND inside : descendantsOf(window)) {
        if (windowText(inside) == text) return true;
    }
    return false;
}

void pressDialogButton(HWND dialog, int id) {
    HWND button = ::GetDlgItem(dialog, id);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

std::uint32_t screenColourAt(HWND window, int x, int y) {
    POINT point{x, y};
    ::ClientToScreen(window, &point);
    HDC screen = ::GetDC(nullptr);
    const COLORREF colour = ::GetPixel(screen, point.x, point.y);
    ::ReleaseDC(nullptr, screen);
    return static_cast<std::uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

int thumbPosition(HWND slider) { return static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)); }

RECT thumbRect(HANDLE process, HWND slider) {
    RECT rect{};
    void* remote = ::VirtualAllocEx(process, nullptr, sizeof rect, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (remote == nullptr) return rect;
    ::SendMessageW(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(remote));
    ::ReadProcessMemory(process, remote, &rect, sizeof rect, nullptr);
    ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return rect;
}

void pressMouse(HWND control, POINT point) {
    ::SendMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void moveMouse(HWND control, POINT point) {
    ::SendMessageW(control, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(point.x, point.y));
}

void releaseMouse(HWND control, POINT point) {
    ::SendMessageW(control, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
}
