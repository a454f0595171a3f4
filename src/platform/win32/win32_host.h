#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "platform/host.h"

class OleDropTarget;

// The Win32 desktop under the core, with the wide calls throughout. Made
// on the user-interface thread; repaintControl and the two display queries
// may be called on any thread.
class Win32Host : public Host {
public:
    explicit Win32Host(HINSTANCE instance) : instance_(instance) {}
    ~Win32Host() override;

    bool initialiseDragDrop() override;
    void uninitialiseDragDrop() override;
    std::string programFilePath() override;

    bool createMainWindow() override;
    bool mainWindowExists() override;
    WindowHandle mainWindowHandle() override;
    void showMainWindowCentred() override;
    void runMessageLoop() override;

    void setControlText(std::string_view control, const Text& text) override;
    Text editBoxText(std::string_view control) override;
    void placeSliderThumb(std::string_view control, std::int32_t position) override;
    void repaintControl(std::string_view control) override;

    std::optional<std::string> showSaveDialog(const SaveDialogRequest& request) override;
    void showMessageBox(const Text& text, const Text& caption) override;
    void showFatalBox(const Text& boxText) override;

    bool registerDropTarget(WindowHandle window) override;
    void revokeDropTarget(WindowHandle window) override;

    int displayBitsPerPixel() override;
    std::uint32_t buttonFaceColour() override;

    void releaseComponents() override;

private:
    void destroyMainWindow();

    HINSTANCE instance_;
    HWND window_ = nullptr;
    OleDropTarget* dropTarget_ = nullptr;  // one reference, while registered
};
