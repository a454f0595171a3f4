#include "running_program.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <variant>

#include "actions/actions.h"
#include "app/lifecycle.h"
#include "app/text.h"
#include "platform/qt/gbk_text.h"
#include "platform/qt/label_widget.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_host.h"
#include "window/controls.h"
#include "window/description.h"

namespace {

constexpr int pollMilliseconds = 10;

// The control layer keeps the slider's stored position, the dialog's file
// name and the preview's picture for the life of the process; a test run
// starts them as a fresh process has them.
void restoreDescribedState() {
    const WindowDescription& description = mainWindowDescription();
    writeProperty(control_names::sizeSlider, property::position, description.slider.storedPosition);
    writeProperty(control_names::saveDialog, property::fileName, description.fileDialog.proposedName);
    writeProperty(control_names::preview, property::picture, ByteView());
}

}  // namespace

MainWindow& RunningProgram::window() const { return *host_.mainWindow(); }

QWidget* RunningProgram::controlWidget(std::string_view gbkName) const {
    return host_.mainWindow() != nullptr ? host_.mainWindow()->control(gbkName) : nullptr;
}

QString RunningProgram::labelText(std::string_view gbkName) const {
    const auto* label = control<LabelWidget>(gbkName);
    return label != nullptr ? label->text() : QStringLiteral("<no label>");
}

std::int32_t RunningProgram::storedSliderPosition() const {
    const PropertyValue value = readProperty(control_names::sizeSlider, property::position);
    return std::get<std::int32_t>(value);
}

QImage RunningProgram::previewClient() const {
    QWidget* preview = controlWidget(control_names::preview);
    if (preview == nullptr) return {};
    return preview->grab().toImage().copy(1, 1, preview->width() - 2, preview->height() - 2);
}

int runProgram(const std::function<void(RunningProgram&)>& steps) { return runProgram(steps, actionHandlers()); }

int runProgram(const std::function<void(RunningProgram&)>& steps, const HandlerTable& handlers) {
    QtHost host;
    WindowHooks hooks = mainWindowHooks(host, handlers);
    hooks.windowReady = [ready = hooks.windowReady] {
        restoreDescribedState();
        ready();
    };
    RunningProgram program(host);
    QTimer::singleShot(0, [&] {
        steps(program);
        if (host.mainWindowExists()) host.mainWindow()->close();
    });
    return startProgram(host, hooks);
}

ModalAnswers::ModalAnswers(std::vector<Answer> answers) : answers_(std::move(answers)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(pollMilliseconds);
}

ModalAnswers::~ModalAnswers() { timer_.stop(); }

// The answer runs from a timer of its own: a dialog's answer may open the
// next dialog and wait inside it, and this poll must go on meanwhile.
void ModalAnswers::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    // A dialog stays modal for a moment after its answer, and again while
    // a question it opened closes: each one is answered once.
    for (const QPointer<QWidget>& seen : seen_) {
        if (seen == modal) return;
    }
    seen_.emplace_back(modal);
    if (next_ == answers_.size()) {
        ++unexpected_;
        QTimer::singleShot(0, modal, [modal] { modal->close(); });
        return;
    }
    QTimer::singleShot(0, modal, [modal, answer = answers_[next_]] { answer(modal); });
    ++next_;
}

ModalAnswers::Answer chooseFile(const QString& path, QString* proposed) {
    return [path, proposed](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) {
            modal->close();
            return;
        }
        if (proposed != nullptr) *proposed = dialog->selectedFiles().value(0);
        auto* nameField = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (nameField == nullptr) {
            dialog->reject();
            return;
        }
        nameField->setText(path);  // as the user types it
        static_cast<QDialog*>(dialog)->accept();  // the file dialog's own accept, which checks the name
    };
}

ModalAnswers::Answer dismissMessage(QString* text, QString* caption) {
    return [text, caption](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        if (text != nullptr) *text = box->text();
        if (caption != nullptr) *caption = box->windowTitle();
        box->button(QMessageBox::Ok)->click();
    };
}

ModalAnswers::Answer answerYes() {
    return [](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QAbstractButton* yes = box != nullptr ? box->button(QMessageBox::Yes) : nullptr;
        if (yes != nullptr) {
            yes->click();
        } else {
            modal->close();
        }
    };
}

QString shown(std::string_view gbk) { return fromGbk(gbk); }

void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

std::uint32_t rgbAt(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; }
