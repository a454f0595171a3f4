#pragma once

#include <optional>
#include <string>

#include "platform/host.h"

class QWidget;

// The platform's save dialog, modal to parent: proposes the request's path
// (its folder and name), adds the default extension to a name typed
// without one, asks before overwriting. The confirmed path as the core
// carries file names, or nothing when the user cancelled.
std::optional<std::string> runSaveDialog(const SaveDialogRequest& request, QWidget* parent);
