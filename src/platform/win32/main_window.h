#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string_view>

// The main window on Win32: the window of the description's class and
// caption, with its visible controls as real Win32 controls. Made and used
// on the user-interface thread only, but controlWindow, which the repaint
// requests of the animation thread use.

// Creates the window hidden, with all its controls; null when any of them
// cannot be made.
HWND createMainWindow(HINSTANCE instance);

// The control's window, or null.
HWND controlWindow(std::string_view name);

// Forgets the controls' windows once the main window is destroyed.
void forgetControls();

// True from the moment the window begins to close.
bool mainWindowClosing();
