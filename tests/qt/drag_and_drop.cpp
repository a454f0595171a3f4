#include "drag_and_drop.h"

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QUrl>
#include <QWidget>
#include <QWindow>

std::unique_ptr<QMimeData> fileDrag(const QStringList& paths) {
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> urls;
    for (const QString& path : paths) urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> textDrag(const QString& text) {
    auto data = std::make_unique<QMimeData>();
    data->setText(text);
    return data;
}

DragAnswers dragAndDrop(QWidget& window, const QMimeData& data, QPoint at, Qt::KeyboardModifiers keys,
                        Qt::DropActions possible) {
    QWindow* platformWindow = window.windowHandle();
    QObject* receiver = platformWindow != nullptr ? static_cast<QObject*>(platformWindow) : &window;
    DragAnswers answers;
    QDragEnterEvent enter(at, possible, &data, Qt::LeftButton, keys);
    QCoreApplication::sendEvent(receiver, &enter);
    answers.enterAccepted = enter.isAccepted();
    answers.enterAction = enter.dropAction();
    QDropEvent drop(QPointF(at), possible, &data, Qt::NoButton, keys);
    QCoreApplication::sendEvent(receiver, &drop);
    answers.dropAccepted = drop.isAccepted();
    answers.dropAction = drop.dropAction();
    return answers;
}
