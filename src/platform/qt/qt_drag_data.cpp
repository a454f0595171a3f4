#include "platform/qt/qt_drag_data.h"

#include <QMimeData>
#include <QUrl>
#include <algorithm>

#include "platform/qt/gbk_text.h"
#include "platform/qt/local_paths.h"

// Only text offered as such: QMimeData::hasText also counts a URL list.
bool QtDragData::offersText() const { return mime_.hasFormat(QStringLiteral("text/plain")); }

bool QtDragData::offersFiles() const {
    const QList<QUrl> urls = mime_.urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

bool QtDragData::offersUrl() const {
    const QList<QUrl> urls = mime_.urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return !url.isLocalFile(); });
}

bool QtDragData::offersHtml() const { return mime_.hasHtml(); }

std::string QtDragData::text() const { return toGbk(mime_.text()); }

std::vector<std::string> QtDragData::files() const {
    std::vector<std::string> paths;
    for (const QUrl& url : mime_.urls()) {
        if (url.isLocalFile()) paths.push_back(corePathOf(url.toLocalFile()));
    }
    return paths;
}

DragKeys dragKeysOf(Qt::KeyboardModifiers modifiers) {
    DragKeys keys;
    keys.control = modifiers.testFlag(Qt::ControlModifier);
    keys.shift = modifiers.testFlag(Qt::ShiftModifier);
    return keys;
}

AllowedEffects allowedEffectsOf(Qt::DropActions actions) {
    AllowedEffects allowed = 0;
    if (actions.testFlag(Qt::CopyAction)) allowed |= static_cast<AllowedEffects>(DropEffect::Copy);
    if (actions.testFlag(Qt::MoveAction)) allowed |= static_cast<AllowedEffects>(DropEffect::Move);
    if (actions.testFlag(Qt::LinkAction)) allowed |= static_cast<AllowedEffects>(DropEffect::Link);
    return allowed;
}

Qt::DropAction dropActionOf(DropEffect effect) {
    switch (effect) {
    case DropEffect::Copy: return Qt::CopyAction;
    case DropEffect::Move: return Qt::MoveAction;
    case DropEffect::Link: return Qt::LinkAction;
    case DropEffect::None: break;
    }
    return Qt::IgnoreAction;
}
