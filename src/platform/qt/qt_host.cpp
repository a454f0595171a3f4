#include "platform/qt/qt_host.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <string>

#include "app/text.h"
#include "platform/qt/colours.h"
#include "platform/qt/gbk_text.h"
#include "platform/qt/group_frame.h"
#include "platform/qt/label_widget.h"
#include "platform/qt/local_paths.h"
#include "platform/qt/main_window.h"
#include "platform/qt/message_boxes.h"
#include "platform/qt/save_dialog.h"
#include "platform/qt/size_slider.h"
#include "window/controls.h"
#include "window/description.h"
#include "window/picture_box.h"

namespace {

int primaryScreenDepth() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->depth() : 32;
}

}  // namespace

QtHost::QtHost()
    : displayBits_(primaryScreenDepth()), buttonFace_(colourValueOf(buttonFaceOf(QApplication::palette()))) {}

QtHost::~QtHost() { destroyMainWindow(); }

// Qt's drag and drop needs no start or end of its own.
bool QtHost::initialiseDragDrop() { return false; }
void QtHost::uninitialiseDragDrop() {}

std::string QtHost::programFilePath() { return corePathOf(QCoreApplication::applicationFilePath()); }

bool QtHost::createMainWindow() {
    window_ = std::make_unique<MainWindow>();
    return true;
}

// The window counts as gone once its close has gone through.
bool QtHost::mainWindowExists() { return window_ != nullptr && !window_->closing(); }

WindowHandle QtHost::mainWindowHandle() {
    return mainWindowExists() ? reinterpret_cast<WindowHandle>(window_.get()) : 0;
}

// Centres the outer size the layout was made for on the primary screen,
// each half truncated.
void QtHost::showMainWindowCentred() {
    if (!mainWindowExists()) return;
    const WindowDescription& description = mainWindowDescription();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        window_->move(area.x() + (area.width() - description.outerWidth) / 2,
                      area.y() + (area.height() - description.outerHeight) / 2);
    }
    window_->show();
}

void QtHost::runMessageLoop() {
    if (!mainWindowExists()) return;
    QApplication::exec();
    destroyMainWindow();
}

void QtHost::setControlText(std::string_view control, const Text& text) {
    if (!window_) return;
    QWidget* widget = window_->control(control);
    const QString shown = fromGbk(text.view());
    if (auto* label = dynamic_cast<LabelWidget*>(widget)) label->setText(shown);
    if (auto* group = dynamic_cast<GroupFrame*>(widget)) group->setTitle(shown);
    if (auto* button = dynamic_cast<QPushButton*>(widget)) button->setText(shown);
}

Text QtHost::editBoxText(std::string_view control) {
    auto* edit = window_ ? dynamic_cast<QLineEdit*>(window_->control(control)) : nullptr;
    if (edit == nullptr) return Text();
    return Text::copyOf(toGbk(edit->text()));
}

void QtHost::placeSliderThumb(std::string_view control, std::int32_t position) {
    auto* slider = window_ ? dynamic_cast<SizeSlider*>(window_->control(control)) : nullptr;
    if (slider != nullptr) slider->placeThumb(position);
}

void QtHost::repaintControl(std::string_view control) {
    if (!onInterfaceThread()) {
        QMetaObject::invokeMethod(
            &repaintRelay_, [this, name = std::string(control)] { repaintControl(name); }, Qt::QueuedConnection);
        return;
    }
    QWidget* widget = window_ ? window_->control(control) : nullptr;
    if (widget != nullptr) widget->update();
}

std::optional<std::string> QtHost::showSaveDialog(const SaveDialogRequest& request) {
    return runSaveDialog(request, window_.get());
}

void QtHost::showMessageBox(const Text& text, const Text& caption) { runMessageBox(text, caption); }

void QtHost::showFatalBox(const Text& boxText) { runFatalBox(boxText); }

bool QtHost::registerDropTarget(WindowHandle window) {
    if (window == 0 || window != mainWindowHandle()) return false;
    window_->setAcceptDrops(true);
    return true;
}

void QtHost::revokeDropTarget(WindowHandle) {
    if (window_) window_->setAcceptDrops(false);
}

int QtHost::displayBitsPerPixel() {
    if (onInterfaceThread()) displayBits_ = primaryScreenDepth();
    return displayBits_;
}

std::uint32_t QtHost::buttonFaceColour() {
    if (onInterfaceThread()) buttonFace_ = colourValueOf(buttonFaceOf(QApplication::palette()));
    return buttonFace_;
}

void QtHost::releaseComponents() {
    destroyMainWindow();
    detachWindowHost();
}

// The preview's animation thread is stopped before the widgets go, so no
// frame asks a destroyed window for a repaint.
void QtHost::destroyMainWindow() {
    if (!window_) return;
    previewPictureBox().setPicture(ByteView());
    window_.reset();
}

bool QtHost::onInterfaceThread() const { return QThread::currentThread() == repaintRelay_.thread(); }
