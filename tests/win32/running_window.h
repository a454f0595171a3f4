#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>

// The Windows program as the window tests drive it: started as a process of
// its own, found by class and caption as another program finds it, and
// driven through the messages that a user's keys and clicks produce.

// The controls a test reaches, found by class name, text and group box as
// another program would find them.
struct WindowControls {
    HWND slider = nullptr;
    HWND typedSizeBox = nullptr;
    HWND confirmButton = nullptr;
    HWND saveButton = nullptr;
    HWND customSizeBox = nullptr;
    HWND customSaveButton = nullptr;
    HWND sizeLabel = nullptr;
    HWND statusLabel = nullptr;
    HWND preview = nullptr;
};

class RunningWindow {
public:
    // Starts squarepic.exe from this test program's folder and waits for its
    // main window; started() tells whether it appeared.
    RunningWindow();
    // A program still running is asked to close, and ended if it will not.
    ~RunningWindow();
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

    bool started() const { return main_ != nullptr; }
    HWND main() const { return main_; }
    const WindowControls& controls() const { return controls_; }
    DWORD processId() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }

    // The program's exit code once it has ended, or nothing when it is
    // still running after the given time.
    std::optional<DWORD> waitForExit(DWORD milliseconds) const;

private:
    PROCESS_INFORMATION process_{};
    HWND main_ = nullptr;
    WindowControls controls_;
};

// The window's class name and caption alike.
extern const wchar_t mainWindowName[];

// The path of squarepic.exe, which the build puts beside the tests.
std::wstring programPath();
