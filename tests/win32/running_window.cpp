#include "running_window.h"

#include <commctrl.h>

#include <vector>

#include "window_input.h"

const wchar_t mainWindowName[] = L"修改图片大小";

namespace {

constexpr DWORD startTime = 30000;
constexpr DWORD closeTime = 10000;

}  // namespace

std::wstring programPath() {
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size()) {
        path.resize(path.size() * 2);
    }
    std::wstring folder(path.data(), length);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder + L"squarepic.exe";
}

namespace {

HWND mainWindowOf(DWORD processId) {
    HWND window = ::FindWindowW(mainWindowName, mainWindowName);
    DWORD owner = 0;
    if (window != nullptr) ::GetWindowThreadProcessId(window, &owner);
    return owner == processId && ::IsWindowVisible(window) ? window : nullptr;
}

// The first child of parent of the class (any when null) whose text is
// text (any when null) and that is not excluded.
HWND childWindow(HWND parent, const wchar_t* className, const wchar_t* text, HWND excluded = nullptr) {
    HWND child = nullptr;
    while ((child = ::FindWindowExW(parent, child, className, text)) != nullptr) {
        if (child != excluded) return child;
    }
    return nullptr;
}

WindowControls controlsOf(HWND main) {
    WindowControls controls;
    HWND sizeGroup = childWindow(main, WC_BUTTONW, L"");
    HWND customGroup = childWindow(main, WC_BUTTONW, L"自定义保存图片大小");
    controls.slider = childWindow(sizeGroup, TRACKBAR_CLASSW, nullptr);
    controls.typedSizeBox = childWindow(sizeGroup, WC_EDITW, nullptr);
    controls.confirmButton = childWindow(sizeGroup, WC_BUTTONW, L"确定");
    controls.saveButton = childWindow(sizeGroup, WC_BUTTONW, L"保存");
    controls.sizeLabel = childWindow(sizeGroup, nullptr, L"当前图片大小：0");
    controls.customSizeBox = childWindow(customGroup, WC_EDITW, nullptr);
    controls.customSaveButton = childWindow(customGroup, WC_BUTTONW, L"保存");
    controls.statusLabel = childWindow(main, L"SquarePicLabel", L"");
    controls.preview = childWindow(main, L"SquarePicPreview", nullptr);
    return controls;
}

}  // namespace

RunningWindow::RunningWindow() {
    std::wstring commandLine = L"\"" + programPath() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process_)) {
        process_ = {};
        return;
    }
    waitUntil([this] { return (main_ = mainWindowOf(process_.dwProcessId)) != nullptr; }, startTime);
    if (main_ != nullptr) controls_ = controlsOf(main_);
}

RunningWindow::~RunningWindow() {
    if (process_.hProcess == nullptr) return;
    if (!waitForExit(0)) {
        if (main_ != nullptr) ::PostMessageW(main_, WM_CLOSE, 0, 0);
        if (!waitForExit(closeTime)) ::TerminateProcess(process_.hProcess, 1);
        ::WaitForSingleObject(process_.hProcess, closeTime);
    }
    ::CloseHandle(process_.hThread);
    ::CloseHandle(process_.hProcess);
}

std::optional<DWORD> RunningWindow::waitForExit(DWORD milliseconds) const {
    if (process_.hProcess == nullptr || ::WaitForSingleObject(process_.hProcess, milliseconds) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return code;
}
