#include <string_view>
#include <utility>
#include <variant>

#include "actions/actions.h"
#include "actions/gbk_texts.h"
#include "actions/typed_size.h"
#include "app/working_state.h"
#include "imaging/resize.h"
#include "platform/files.h"
#include "window/description.h"

namespace {

Text chosenFileName() {
    PropertyValue name = readProperty(control_names::saveDialog, property::fileName);
    Text* text = std::get_if<Text>(&name);
    return text != nullptr ? std::move(*text) : Text();
}

void showSaveStatus(bool saved) {
    const std::string_view status = saved ? gbk::saveSucceeded : gbk::saveFailed;
    writeProperty(control_names::statusLabel, property::caption, status);
}

// Makes the square at the size typed into sizeBox (no limit applies here),
// asks for a file name and writes the square there. The preview, the
// slider and 标签4 are left as they are.
void saveAtSizeOf(std::string_view sizeBox) {
    resizeToSquare(sourcePath(), typedSize(sizeBox));
    // A cancelled dialog writes nothing and leaves the last status standing.
    if (showFileDialog(control_names::saveDialog) == 0) return;
    const Text name = chosenFileName();
    // A square that could not be made is no file: nothing is written, so no
    // earlier file is cut to nothing under a report of success.
    const bool saved = !outputImage().empty() && writeFileBytes(name, outputImage().view()) == 1;
    showSaveStatus(saved);
}

}  // namespace

void saveAtTypedSize() { saveAtSizeOf(control_names::typedSizeBox); }

void saveAtCustomSize() { saveAtSizeOf(control_names::customSizeBox); }

// The file is replaced as a whole or not at all, so a failed save (a full
// disk, a read-only or busy target) leaves the old file as it was.
int writeFileBytes(const Text& name, ByteView data) {
    if (name.empty()) return 0;
    return replaceFileAtomically(name.c_str(), data) ? 1 : 0;
}
