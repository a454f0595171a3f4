#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeyEvent>

#include "platform/qt/control_widgets.h"
#include "platform/qt/gbk_text.h"
#include "platform/qt/qt_drag_data.h"
#include "window/controls.h"
#include "window/description.h"
#include "window/drop_target.h"

namespace {

// The platform's default GUI font on the system the layout was made for is
// 12 pixels high; the places and sizes of the controls assume it.
constexpr int guiFontPixels = 12;

// Shows the effect the core chose; None refuses the drag here.
void answerDrag(QDragMoveEvent* event, DropEffect effect) {
    if (effect == DropEffect::None) {
        event->ignore();
        return;
    }
    event->setDropAction(dropActionOf(effect));
    event->accept();
}

}  // namespace

MainWindow::MainWindow() {
    const WindowDescription& description = mainWindowDescription();
    setWindowTitle(fromGbk(description.caption));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(description.clientWidth, description.clientHeight);
    setWindowIcon(QIcon(QStringLiteral(":/squarepic.ico")));
    QFont guiFont = font();
    guiFont.setPixelSize(guiFontPixels);
    setFont(guiFont);
    createControls();
}

// Later siblings lie above earlier ones, so the description, first control
// on top, is built from its end. Each group box comes after its controls
// in the description and so exists before them.
void MainWindow::createControls() {
    const WindowDescription& description = mainWindowDescription();
    for (std::size_t i = description.controlCount; i-- > 0;) {
        const ControlDescription& entry = description.controls[i];
        QWidget* container = entry.container.empty() ? this : control(entry.container);
        if (container == nullptr) container = this;
        QWidget* widget = createControlWidget(entry, container);
        if (widget != nullptr) controls_.emplace(std::string(entry.name), widget);
    }
}

QWidget* MainWindow::control(std::string_view name) const {
    const auto found = controls_.find(name);
    return found != controls_.end() ? found->second : nullptr;
}

// Keys the focused control leaves unused come here: Esc closes the window
// as its close button does, and nothing else has a meaning (Enter presses
// no button).
void MainWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

// The window's end begins: windowDestroying runs while the window and its
// controls still exist and count as existing; then the window is gone for
// the core, and the host destroys it after the message loop.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) {
        raiseWindowDestroying();
        closing_ = true;
    }
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    const QtDragData data(*event->mimeData());
    answerDrag(event, dragEnter(data, dragKeysOf(event->modifiers()), allowedEffectsOf(event->possibleActions())));
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
    answerDrag(event, dragOver(dragKeysOf(event->modifiers()), allowedEffectsOf(event->possibleActions())));
}

void MainWindow::dragLeaveEvent(QDragLeaveEvent* event) {
    dragLeave();
    event->accept();
}

// Whatever was delivered, the drop is refused, so that a source never
// deletes its original after a move.
void MainWindow::dropEvent(QDropEvent* event) {
    const QtDragData data(*event->mimeData());
    drop(data, dragKeysOf(event->modifiers()), allowedEffectsOf(event->possibleActions()));
    event->setDropAction(Qt::IgnoreAction);
    event->ignore();
}
