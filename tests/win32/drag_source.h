#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

// A drag that another program would start: a real OLE data object carried
// by DoDragDrop from this process to the window under the point, with the
// mouse button already up, so it is dropped there at once. The calling
// thread must have called OleInitialize.

enum class HeldKeys { None, ControlAndShift };

// Each drag gives back the effect that the target answered at the drop.

// A file list (CF_HDROP with wide names), as the shell offers it.
DWORD dragFiles(POINT screenPoint, const std::vector<std::wstring>& paths, HeldKeys keys = HeldKeys::None);

// Plain text, as an editor offers a selection.
DWORD dragText(POINT screenPoint, const std::wstring& text);
