#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

// Writes what the screen shows of the window, frame included, as a 24-bit
// bitmap file, for a person to look at; false when it cannot.
bool saveScreenshot(HWND window, const std::wstring& path);
