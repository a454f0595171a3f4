#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <optional>
#include <string>

#include "platform/host.h"

class Text;

// The common save dialog; the confirmed path as UTF-8, or nothing.
std::optional<std::string> runSaveDialog(const SaveDialogRequest& request, HWND owner);
// A task-modal box with one OK button.
void runMessageBox(const Text& text, const Text& caption);
// The fatal-error box, captioned "错误".
void runFatalBox(const Text& boxText);
