#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

// The platform's save dialog, filled in as a user fills it in.

// The name in the dialog's file-name field, as it opened: the proposal.
std::wstring proposedName(HWND dialog);

// Puts the path into the file-name field and presses the dialog's OK.
void chooseFile(HWND dialog, std::wstring_view path);

// A visible dialog owned by the window (the dialog's own questions, such
// as whether to replace a file), once it appears; null after the time.
HWND waitForOwnedDialog(HWND owner, DWORD milliseconds = 15000);
