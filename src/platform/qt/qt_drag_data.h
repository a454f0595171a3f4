#pragma once

#include <Qt>

#include "window/drop_target.h"

class QMimeData;

// What a Qt drag offers, in the drop target's terms: plain text, local
// files (from a text/uri-list), HTML, and URLs that are no local files.
class QtDragData : public DragData {
public:
    explicit QtDragData(const QMimeData& mime) : mime_(mime) {}

    bool offersText() const override;
    bool offersFiles() const override;
    bool offersUrl() const override;
    bool offersHtml() const override;
    std::string text() const override;
    std::vector<std::string> files() const override;

private:
    const QMimeData& mime_;
};

DragKeys dragKeysOf(Qt::KeyboardModifiers modifiers);
AllowedEffects allowedEffectsOf(Qt::DropActions actions);
Qt::DropAction dropActionOf(DropEffect effect);
