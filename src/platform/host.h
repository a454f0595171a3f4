#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class Text;

// The platform's handle of the main window; 0 when there is none.
using WindowHandle = std::uintptr_t;

// What the save dialog is asked to show.
struct SaveDialogRequest {
    std::string proposedPath;      // UTF-8; empty for none
    std::string defaultExtension;  // without its leading full stop; empty for none
    bool overwritePrompt = true;
    bool pathMustExist = true;
};

// What the core asks of a desktop. A front end implements it; the core calls
// it and never includes a toolkit itself. Controls are named as the window
// description names them. Texts are GBK, converted by the front end at its
// edge; file paths are UTF-8 and reach the platform without loss.
class Host {
public:
    virtual ~Host() = default;

    // The platform's drag-and-drop machinery (OLE on Windows). True when it
    // was started and must be shut down at the end.
    virtual bool initialiseDragDrop() = 0;
    virtual void uninitialiseDragDrop() = 0;

    // The full path of the running program file.
    virtual std::string programFilePath() = 0;

    // Creates the main window hidden, with every control of the window
    // description; false when any of them cannot be made.
    virtual bool createMainWindow() = 0;
    virtual bool mainWindowExists() = 0;
    virtual WindowHandle mainWindowHandle() = 0;
    virtual void showMainWindowCentred() = 0;
    // Dispatches events until the last window of the program is gone.
    virtual void runMessageLoop() = 0;

    // Controls. A label's or a group box's text; what an edit box shows now;
    // where the slider's thumb stands (the control redraws itself).
    virtual void setControlText(std::string_view control, const Text& text) = 0;
    virtual Text editBoxText(std::string_view control) = 0;
    virtual void placeSliderThumb(std::string_view control, std::int32_t position) = 0;
    // Marks a control for repainting; the paint comes after the running
    // handler. May be called from any thread.
    virtual void repaintControl(std::string_view control) = 0;

    // Modal dialogs, each returning when the user has closed it. The save
    // dialog gives the confirmed path, or nothing when it was cancelled.
    virtual std::optional<std::string> showSaveDialog(const SaveDialogRequest& request) = 0;
    // Task-modal, with one OK button.
    virtual void showMessageBox(const Text& text, const Text& caption) = 0;
    // A modal box captioned "错误" with the error icon and one OK button.
    virtual void showFatalBox(const Text& boxText) = 0;

    // Makes the whole window a drop zone whose drags go to the core's drop
    // target; false when the platform refuses.
    virtual bool registerDropTarget(WindowHandle window) = 0;
    virtual void revokeDropTarget(WindowHandle window) = 0;

    // The display: its bits per pixel and the button-face colour (0x00BBGGRR).
    virtual int displayBitsPerPixel() = 0;
    virtual std::uint32_t buttonFaceColour() = 0;

    // The program ends: release what the controls and the drop target share.
    virtual void releaseComponents() = 0;
};
