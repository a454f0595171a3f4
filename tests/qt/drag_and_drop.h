#pragma once

#include <QMimeData>
#include <QPoint>
#include <QStringList>
#include <Qt>
#include <memory>

class QWidget;

// How the window answered each step of a drag.
struct DragAnswers {
    bool enterAccepted = false;
    Qt::DropAction enterAction = Qt::IgnoreAction;
    bool dropAccepted = false;
    Qt::DropAction dropAction = Qt::IgnoreAction;
};

// Drag data as a file manager offers it: the files' URLs.
std::unique_ptr<QMimeData> fileDrag(const QStringList& paths);
std::unique_ptr<QMimeData> textDrag(const QString& text);

// Drags data over a point of the top-level window and drops it there, the
// way the platform delivers a drag: to the window, which passes it to the
// widget under the point that accepts drops, or that widget's nearest
// parent that does.
DragAnswers dragAndDrop(QWidget& window, const QMimeData& data, QPoint at, Qt::KeyboardModifiers keys = {},
                        Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction);
