#pragma once

#include <string>

class Text;

// What the core asks of a desktop. A front end implements it; the core calls
// it and never includes a toolkit itself. Texts are GBK; file paths UTF-8.
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
    virtual void showMainWindowCentred() = 0;
    // Dispatches events until the last window of the program is gone.
    virtual void runMessageLoop() = 0;

    // A modal box captioned "错误" with the error icon and one OK button.
    virtual void showFatalBox(const Text& boxText) = 0;
    // The program ends: release what the controls and the drop target share.
    virtual void releaseComponents() = 0;
};
