#include "platform/win32/win32_host.h"

#include <commctrl.h>
#include <ole2.h>

#include <vector>

#include "app/text.h"
#include "platform/win32/dialogs.h"
#include "platform/win32/main_window.h"
#include "platform/win32/ole_drop_target.h"
#include "platform/win32/wide_text.h"
#include "window/controls.h"
#include "window/description.h"
#include "window/picture_box.h"

Win32Host::~Win32Host() { destroyMainWindow(); }

bool Win32Host::initialiseDragDrop() {
    const HRESULT result = ::OleInitialize(nullptr);
    return result == S_OK || result == S_FALSE;
}

void Win32Host::uninitialiseDragDrop() { ::OleUninitialize(); }

// The path may be longer than MAX_PATH: the buffer grows until it fits.
std::string Win32Host::programFilePath() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) return utf8FromWide(std::wstring_view(path.data(), length));
        if (path.size() >= 32768) return {};  // the longest path Windows knows
        path.resize(path.size() * 2);
    }
}

bool Win32Host::createMainWindow() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    window_ = ::createMainWindow(instance_);
    return window_ != nullptr;
}

bool Win32Host::mainWindowExists() { return window_ != nullptr && ::IsWindow(window_) && !mainWindowClosing(); }

WindowHandle Win32Host::mainWindowHandle() {
    return mainWindowExists() ? reinterpret_cast<WindowHandle>(window_) : 0;
}

// Centres the outer size on the primary screen, each half truncated.
void Win32Host::showMainWindowCentred() {
    if (!mainWindowExists()) return;
    const WindowDescription& description = mainWindowDescription();
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - description.outerWidth) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - description.outerHeight) / 2;
    ::SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ::ShowWindow(window_, SW_SHOW);
    ::UpdateWindow(window_);
}

// The dialog keys give Tab its moves between the controls and turn Esc
// into the window's IDCANCEL, which closes it.
void Win32Host::runMessageLoop() {
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window_ != nullptr && ::IsWindow(window_) && ::IsDialogMessageW(window_, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    window_ = nullptr;
    forgetControls();
}

void Win32Host::setControlText(std::string_view control, const Text& text) {
    if (HWND window = controlWindow(control)) ::SetWindowTextW(window, wideFromGbk(text.view()).c_str());
}

Text Win32Host::editBoxText(std::string_view control) {
    HWND window = controlWindow(control);
    if (window == nullptr) return Text();
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(read));
    return Text::copyOf(gbkFromWide(text));
}

void Win32Host::placeSliderThumb(std::string_view control, std::int32_t position) {
    if (HWND window = controlWindow(control)) ::SendMessageW(window, TBM_SETPOS, TRUE, position);
}

// InvalidateRect may be called from any thread; the paint follows on the
// window's own.
void Win32Host::repaintControl(std::string_view control) {
    if (HWND window = controlWindow(control)) ::InvalidateRect(window, nullptr, FALSE);
}

std::optional<std::string> Win32Host::showSaveDialog(const SaveDialogRequest& request) {
    return runSaveDialog(request, window_);
}

void Win32Host::showMessageBox(const Text& text, const Text& caption) { runMessageBox(text, caption); }

void Win32Host::showFatalBox(const Text& boxText) { runFatalBox(boxText); }

bool Win32Host::registerDropTarget(WindowHandle window) {
    if (window == 0 || window != mainWindowHandle() || dropTarget_ != nullptr) return false;
    auto* target = new OleDropTarget();
    if (::RegisterDragDrop(window_, target) != S_OK) {
        target->Release();
        return false;
    }
    dropTarget_ = target;
    return true;
}

void Win32Host::revokeDropTarget(WindowHandle) {
    if (dropTarget_ == nullptr) return;
    ::RevokeDragDrop(window_);
    dropTarget_->Release();
    dropTarget_ = nullptr;
}

int Win32Host::displayBitsPerPixel() {
    HDC screen = ::GetDC(nullptr);
    const int bits = ::GetDeviceCaps(screen, BITSPIXEL) * ::GetDeviceCaps(screen, PLANES);
    ::ReleaseDC(nullptr, screen);
    return bits;
}

std::uint32_t Win32Host::buttonFaceColour() { return ::GetSysColor(COLOR_BTNFACE); }

void Win32Host::releaseComponents() {
    destroyMainWindow();
    detachWindowHost();
}

// The preview's animation thread is stopped before the windows go, so no
// frame asks a destroyed window for a repaint.
void Win32Host::destroyMainWindow() {
    previewPictureBox().setPicture(ByteView());
    revokeDropTarget(0);
    if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
    window_ = nullptr;
    forgetControls();
}
