#include <optional>
#include <utility>

#include "actions/actions.h"
#include "app/working_state.h"
#include "platform/files.h"
#include "window/description.h"
#include "window/drop_target.h"

// The dropped text is a UTF-8 path (or several, each followed by CR LF) and
// is kept as it came: it never passes through GBK, so a name with
// characters outside GBK opens like any other. Several paths name no file,
// so the preview is cleared, as for anything else that holds no picture.
void acceptDroppedFile(const Text& paths) {
    replaceSourcePath(Text::copyOf(paths.view()));
    const Bytes file = readFileBytes(sourcePath());
    writeProperty(control_names::preview, property::picture, file.view());
}

void closeDropIntake() { unregisterDropTarget(windowHandle()); }

// A folder, a missing or unreadable file and a file of length 0 all give
// empty bytes.
Bytes readFileBytes(const Text& name) {
    if (name.empty()) return Bytes();
    std::optional<Bytes> file = readWholeFile(name.c_str());
    return file ? std::move(*file) : Bytes();
}
