#pragma once

// A desktop for tests: a Host that records what the core asks of it and
// answers from fields a test sets, and the data of a drag as a front end
// would hand it over. No window, no threads of its own, no waiting.

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/host.h"
#include "window/controls.h"
#include "window/drop_target.h"

class FakeHost : public Host {
public:
    static constexpr WindowHandle window = 0x5150;

    struct MessageBox {
        std::string text;
        std::string caption;
    };

    // A call of registerDropTarget (registered) or revokeDropTarget.
    struct DropRegistration {
        bool registered = false;
        WindowHandle window = 0;
    };

    // Answers, set by the test.
    std::map<std::string, std::string, std::less<>> editTexts;  // what each edit box shows
    std::optional<std::string> saveDialogAnswer;  // the path every save dialog confirms; none cancels
    bool dropRegistrationSucceeds = true;
    // What runMessageLoop does, in order, before the user closes the window.
    std::vector<std::function<void()>> script;

    // Records.
    std::map<std::string, std::string, std::less<>> controlTexts;  // the last text set on each control
    std::vector<std::int32_t> thumbPlacements;
    std::vector<SaveDialogRequest> saveDialogRequests;
    std::vector<MessageBox> messageBoxes;
    std::vector<std::string> fatalBoxes;
    std::vector<DropRegistration> dropRegistrations;
    bool windowExists = false;
    bool windowShown = false;
    bool componentsReleased = false;

    // Back to a host that has neither been asked nor told anything.
    void clear();

    // Repaint requests may come from the picture box's animation thread.
    int repaintRequestsOf(std::string_view control) const;
    void forgetRepaintRequests();

    bool initialiseDragDrop() override { return true; }
    void uninitialiseDragDrop() override {}
    std::string programFilePath() override { return "squarepic"; }
    bool createMainWindow() override;
    bool mainWindowExists() override { return windowExists; }
    WindowHandle mainWindowHandle() override { return window; }
    void showMainWindowCentred() override { windowShown = true; }
    // Runs the script, then closes the window as a front end does: the
    // window raises windowDestroying while it still exists, then it is gone.
    void runMessageLoop() override;

    void setControlText(std::string_view control, const Text& text) override;
    Text editBoxText(std::string_view control) override;
    void placeSliderThumb(std::string_view control, std::int32_t position) override;
    void repaintControl(std::string_view control) override;

    std::optional<std::string> showSaveDialog(const SaveDialogRequest& request) override;
    void showMessageBox(const Text& text, const Text& caption) override;
    void showFatalBox(const Text& boxText) override;

    bool registerDropTarget(WindowHandle handle) override;
    void revokeDropTarget(WindowHandle handle) override;

    int displayBitsPerPixel() override { return 32; }
    std::uint32_t buttonFaceColour() override { return buttonFace; }
    void releaseComponents() override { componentsReleased = true; }

    static constexpr std::uint32_t buttonFace = 0x00F0F0F0;

private:
    mutable std::mutex repaintLock_;
    std::map<std::string, int, std::less<>> repaintRequests_;  // guarded by repaintLock_
};

// The fake host of the test program. The control layer keeps pointing at
// the last host it was given, so this one outlives every test. The call
// brings it, the controls, the drop target and the working state back to
// where a run starts, with the host attached to the control layer.
FakeHost& freshFakeHost();

// Opens the window as start-up does, with these handlers bound: the
// description is read, the window created, windowReady raised, the window
// shown.
void openWindow(FakeHost& host, const HandlerTable& handlers);

// The data of a drag: the formats it offers, and what it holds.
struct FakeDragData : DragData {
    bool hasText = false;
    bool hasFiles = false;
    bool hasUrl = false;
    bool hasHtml = false;
    std::string textContent;
    std::vector<std::string> paths;

    static FakeDragData ofFiles(std::vector<std::string> paths);
    static FakeDragData ofText(std::string text);

    bool offersText() const override { return hasText; }
    bool offersFiles() const override { return hasFiles; }
    bool offersUrl() const override { return hasUrl; }
    bool offersHtml() const override { return hasHtml; }
    std::string text() const override { return textContent; }
    std::vector<std::string> files() const override { return paths; }
};
