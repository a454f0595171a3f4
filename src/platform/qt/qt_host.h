#pragma once

#include <QObject>
#include <atomic>
#include <memory>

#include "platform/host.h"

class MainWindow;

// The Qt 6 Widgets desktop under the core. Made on the user-interface
// thread after the QApplication; everything but repaintControl and the two
// display queries must be called on that thread.
class QtHost : public Host {
public:
    QtHost();
    ~QtHost() override;

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

    // The window while it exists, for the front end's tests.
    MainWindow* mainWindow() const { return window_.get(); }

private:
    void destroyMainWindow();
    bool onInterfaceThread() const;

    std::unique_ptr<MainWindow> window_;
    // Lives on the user-interface thread; repaint requests from other
    // threads are queued to it.
    QObject repaintRelay_;
    // The display as last seen from the user-interface thread, for the
    // queries of other threads.
    std::atomic<int> displayBits_;
    std::atomic<std::uint32_t> buttonFace_;
};
