#include "support/fake_host.h"

#include <utility>

#include "app/text.h"
#include "app/working_state.h"
#include "window/description.h"

void FakeHost::clear() {
    editTexts.clear();
    saveDialogAnswer.reset();
    dropRegistrationSucceeds = true;
    script.clear();
    controlTexts.clear();
    thumbPlacements.clear();
    saveDialogRequests.clear();
    messageBoxes.clear();
    fatalBoxes.clear();
    dropRegistrations.clear();
    windowExists = false;
    windowShown = false;
    componentsReleased = false;
    forgetRepaintRequests();
}

int FakeHost::repaintRequestsOf(std::string_view control) const {
    const std::lock_guard<std::mutex> lock(repaintLock_);
    const auto found = repaintRequests_.find(control);
    return found != repaintRequests_.end() ? found->second : 0;
}

void FakeHost::forgetRepaintRequests() {
    const std::lock_guard<std::mutex> lock(repaintLock_);
    repaintRequests_.clear();
}

bool FakeHost::createMainWindow() {
    windowExists = true;
    return true;
}

void FakeHost::runMessageLoop() {
    for (const std::function<void()>& step : script) step();
    raiseWindowDestroying();
    windowExists = false;
}

void FakeHost::setControlText(std::string_view control, const Text& text) {
    controlTexts[std::string(control)] = std::string(text.view());
}

Text FakeHost::editBoxText(std::string_view control) {
    const auto found = editTexts.find(control);
    return found != editTexts.end() ? Text::copyOf(found->second) : Text();
}

void FakeHost::placeSliderThumb(std::string_view /*control*/, std::int32_t position) {
    thumbPlacements.push_back(position);
}

void FakeHost::repaintControl(std::string_view control) {
    const std::lock_guard<std::mutex> lock(repaintLock_);
    ++repaintRequests_[std::string(control)];
}

std::optional<std::string> FakeHost::showSaveDialog(const SaveDialogRequest& request) {
    saveDialogRequests.push_back(request);
    return saveDialogAnswer;
}

void FakeHost::showMessageBox(const Text& text, const Text& caption) {
    messageBoxes.push_back({std::string(text.view()), std::string(caption.view())});
}

void FakeHost::showFatalBox(const Text& boxText) { fatalBoxes.emplace_back(boxText.view()); }

bool FakeHost::registerDropTarget(WindowHandle handle) {
    dropRegistrations.push_back({true, handle});
    return dropRegistrationSucceeds;
}

void FakeHost::revokeDropTarget(WindowHandle handle) { dropRegistrations.push_back({false, handle}); }

FakeHost& freshFakeHost() {
    static FakeHost host;
    host.clear();
    // Attached with no handlers, so that putting the controls back raises nothing.
    mainWindowHooks(host, HandlerTable{}).readDescription();
    writeProperty(control_names::sizeSlider, property::position, mainWindowDescription().slider.storedPosition);
    writeProperty(control_names::saveDialog, property::fileName, mainWindowDescription().fileDialog.proposedName);
    writeProperty(control_names::preview, property::picture, ByteView());
    unregisterDropTarget(0);
    dragLeave();
    releaseWorkingState();
    host.clear();
    return host;
}

void openWindow(FakeHost& host, const HandlerTable& handlers) {
    const WindowHooks hooks = mainWindowHooks(host, handlers);
    hooks.readDescription();
    host.createMainWindow();
    hooks.windowReady();
    host.showMainWindowCentred();
}

FakeDragData FakeDragData::ofFiles(std::vector<std::string> paths) {
    FakeDragData data;
    data.hasFiles = true;
    data.paths = std::move(paths);
    return data;
}

FakeDragData FakeDragData::ofText(std::string text) {
    FakeDragData data;
    data.hasText = true;
    data.textContent = std::move(text);
    return data;
}
