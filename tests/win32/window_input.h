#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Input to another program's windows and reading them back, as the window
// tests need it. A sent message runs in the program before the call
// returns, so what it sets off has happened by then; a posted one goes
// through the program's message loop (its dialog keys included) and is
// waited for with waitUntil.

// Polls the condition until it holds or the time is up; its last answer.
bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds = 15000);

// A window's text, read with WM_GETTEXT.
std::wstring windowText(HWND window);

// A key pressed and released on the control, as its window procedure
// receives it.
void pressKey(HWND control, WPARAM key);

// Characters typed into an edit box one by one, each through its input
// filter.
void typeText(HWND editBox, std::wstring_view text);

// The edit box's text replaced by a paste of the given text from the
// clipboard.
void pasteText(HWND editBox, std::wstring_view text);

// A click on the push button, posted: the program may open a modal window
// in answer, which the test then finds and answers.
void clickButton(HWND button);

// Whether the window is shown and of the dialog class, as message boxes and
// the save dialog are.
bool isVisibleDialog(HWND window);

// A visible top-level window of the process, of the dialog class, with the
// given caption (any caption when empty), once it appears; null after the
// given time.
HWND waitForDialog(DWORD processId, std::wstring_view caption = {}, DWORD milliseconds = 15000);

// Whether a window inside this one shows the text.
bool showsText(HWND window, std::wstring_view text);

// Presses the dialog's button with the given identifier (IDOK, IDYES...).
void pressDialogButton(HWND dialog, int id);

// The colour 0x00RRGGBB on the screen at a point of the window's client
// area.
std::uint32_t screenColourAt(HWND window, int x, int y);

// The slider's thumb position.
int thumbPosition(HWND slider);

// The slider's thumb in its client area. The trackbar answers into a
// buffer that must lie in its own process, which is lent for the call.
RECT thumbRect(HANDLE process, HWND slider);

// The mouse as the trackbar receives it: the button pressed on the point
// of the slider's client area, moved, and released.
void pressMouse(HWND control, POINT point);
void moveMouse(HWND control, POINT point);
void releaseMouse(HWND control, POINT point);
