#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/host.h"

// The drop target 拖放对象1: makes the whole main window accept dragged
// file lists (and plain text, which it takes and ignores), chooses the drag
// effect from the keys, and delivers dropped file lists as filesDropped.

// Drag effects, with the values the platform's drag and drop uses.
enum class DropEffect : std::uint32_t { None = 0, Copy = 1, Move = 2, Link = 4 };

// The effects a drag source allows, as a set of DropEffect bits.
using AllowedEffects = std::uint32_t;

struct DragKeys {
    bool control = false;
    bool shift = false;
};

// What the dragged data offers, as a front end sees it. Only the offers are
// looked at on entering; the data itself is fetched at the drop.
class DragData {
public:
    virtual ~DragData() = default;
    virtual bool offersText() const = 0;
    virtual bool offersFiles() const = 0;
    virtual bool offersUrl() const = 0;
    virtual bool offersHtml() const = 0;
    // The dropped text, GBK.
    virtual std::string text() const = 0;
    // The dropped paths in the source's order, UTF-8, folders included.
    virtual std::vector<std::string> files() const = 0;
};

// The answer to a drop: the effect shown, and that the drop is refused, so
// a source never deletes its original after a "move".
struct DropAnswer {
    DropEffect effect = DropEffect::None;
    bool accepted = false;
};

// One effect from the keys and the allowed effects, or None when the drag
// offers nothing the target accepts.
DropEffect dropEffectRule(bool dragAccepted, DragKeys keys, AllowedEffects allowed);

// The event text of a drop: one path alone; several each followed by CR LF.
std::string joinDroppedPaths(const std::vector<std::string>& paths);

bool registerDropTarget(WindowHandle window);
void unregisterDropTarget(WindowHandle window);

// The drag operations a front end forwards, on the user-interface thread.
DropEffect dragEnter(const DragData& data, DragKeys keys, AllowedEffects allowed);
DropEffect dragOver(DragKeys keys, AllowedEffects allowed);
void dragLeave();
DropAnswer drop(const DragData& data, DragKeys keys, AllowedEffects allowed);
