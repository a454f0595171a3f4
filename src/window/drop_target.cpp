#include "window/drop_target.h"

#include "app/text.h"
#include "window/controls.h"
#include "window/description.h"

namespace {

// The state of 拖放对象1, which lives as long as the program.
struct DropTargetState {
    WindowHandle registeredWindow = 0;  // 0 while not registered
    bool dragAccepted = false;          // the drag now over the window offers an accepted format
};

DropTargetState& state() {
    static DropTargetState instance;
    return instance;
}

bool allows(AllowedEffects allowed, DropEffect effect) { return (allowed & static_cast<AllowedEffects>(effect)) != 0; }

// The first accepted format the drag offers, tested in the fixed order
// text, files, URL, HTML; only the offers are looked at.
bool offersAcceptedFormat(const DragData& data) {
    const DropTargetSettings& accepts = mainWindowDescription().dropTarget;
    return (accepts.acceptText && data.offersText()) || (accepts.acceptFiles && data.offersFiles()) ||
           (accepts.acceptUrl && data.offersUrl()) || (accepts.acceptHtml && data.offersHtml());
}

void deliverFiles(const DragData& data) {
    const Text paths = Text::copyOf(joinDroppedPaths(data.files()));
    raiseFilesDropped(paths);
}

}  // namespace

DropEffect dropEffectRule(bool dragAccepted, DragKeys keys, AllowedEffects allowed) {
    if (!dragAccepted) return DropEffect::None;
    if (keys.control && keys.shift) return DropEffect::None;
    if (keys.control) return allows(allowed, DropEffect::Copy) ? DropEffect::Copy : DropEffect::None;
    if (keys.shift) return allows(allowed, DropEffect::Move) ? DropEffect::Move : DropEffect::None;
    for (DropEffect effect : {DropEffect::Copy, DropEffect::Move, DropEffect::Link}) {
        if (allows(allowed, effect)) return effect;
    }
    return DropEffect::None;
}

std::string joinDroppedPaths(const std::vector<std::string>& paths) {
    if (paths.size() == 1) return paths.front();
    std::string joined;
    for (const std::string& path : paths) {
        joined += path;
        joined += "\r\n";
    }
    return joined;
}

bool registerDropTarget(WindowHandle window) {
    DropTargetState& target = state();
    if (target.registeredWindow != 0) return false;
    // The window counts as registered even when the platform refuses, so a
    // refused registration is not tried again.
    target.registeredWindow = window;
    Host* host = windowHost();
    return host != nullptr && host->registerDropTarget(window);
}

void unregisterDropTarget(WindowHandle /*window*/) {
    DropTargetState& target = state();
    if (target.registeredWindow == 0) return;
    if (Host* host = windowHost()) host->revokeDropTarget(target.registeredWindow);
    target.registeredWindow = 0;
    target.dragAccepted = false;
}

// A front end that forwards a drag to an unregistered window (before
// windowReady, or once the window has begun to close) gets no effect, so
// nothing is dropped there.
DropEffect dragEnter(const DragData& data, DragKeys keys, AllowedEffects allowed) {
    DropTargetState& target = state();
    target.dragAccepted = target.registeredWindow != 0 && offersAcceptedFormat(data);
    return dropEffectRule(target.dragAccepted, keys, allowed);
}

DropEffect dragOver(DragKeys keys, AllowedEffects allowed) {
    return dropEffectRule(state().dragAccepted, keys, allowed);
}

void dragLeave() { state().dragAccepted = false; }

// Plain text is accepted, so that dragging it shows the copy cursor, but
// textDropped has no handler in this window: a text drop delivers nothing.
// The drop is always refused, so a source that was asked to move never
// deletes its original.
DropAnswer drop(const DragData& data, DragKeys keys, AllowedEffects allowed) {
    DropAnswer answer;
    answer.effect = dropEffectRule(state().dragAccepted, keys, allowed);
    if (answer.effect == DropEffect::None) return answer;
    if (mainWindowDescription().dropTarget.acceptFiles && data.offersFiles()) deliverFiles(data);
    return answer;
}
