#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/qt/main_window.h"
#include "window/controls.h"

class QtHost;

// The program as a test drives it: the real Qt host, the real handlers and
// the real start-up and shutdown, with the test's steps running inside the
// message loop.
class RunningProgram {
public:
    explicit RunningProgram(QtHost& host) : host_(host) {}

    MainWindow& window() const;
    // The widget of a control named as the window description names it
    // (GBK); null when it is missing or of another kind.
    template <class Widget>
    Widget* control(std::string_view gbkName) const {
        return dynamic_cast<Widget*>(controlWidget(gbkName));
    }
    QWidget* controlWidget(std::string_view gbkName) const;

    // The label's text as shown.
    QString labelText(std::string_view gbkName) const;
    // The slider's stored position, as the actions read it.
    std::int32_t storedSliderPosition() const;
    // The preview's client area as painted on the screen (418 x 418).
    QImage previewClient() const;

private:
    QtHost& host_;
};

// Runs the whole life of the program as main does, with steps inside its
// message loop; the window is closed after them unless they closed it.
// Returns the program's exit code.
// The handlers are the program's own unless a test passes others.
int runProgram(const std::function<void(RunningProgram&)>& steps);
int runProgram(const std::function<void(RunningProgram&)>& steps, const HandlerTable& handlers);

// Answers the modal dialogs that open while it lives, in the order given:
// each answer is called with the next modal widget once it is shown, from
// the event loop (so a dialog that opens another one inside its own answer
// is answered too). A modal dialog beyond the answers is closed and
// counted as unexpected, so a test never hangs on one.
class ModalAnswers {
public:
    using Answer = std::function<void(QWidget* modal)>;

    explicit ModalAnswers(std::vector<Answer> answers);
    ~ModalAnswers();
    ModalAnswers(const ModalAnswers&) = delete;
    ModalAnswers& operator=(const ModalAnswers&) = delete;

    std::size_t answered() const { return next_; }
    std::size_t unexpected() const { return unexpected_; }

private:
    void poll();

    std::vector<Answer> answers_;
    std::size_t next_ = 0;
    std::size_t unexpected_ = 0;
    std::vector<QPointer<QWidget>> seen_;
    QTimer timer_;
};

// Answers a save dialog with path, and the overwrite question with yes.
ModalAnswers::Answer chooseFile(const QString& path, QString* proposed = nullptr);
// Presses the only button of a message box, remembering its text and caption.
ModalAnswers::Answer dismissMessage(QString* text = nullptr, QString* caption = nullptr);
// Answers yes in a question box.
ModalAnswers::Answer answerYes();

// A GBK text of the program as Qt shows it.
QString shown(std::string_view gbk);

// Shows a QString in a test's failure message.
void PrintTo(const QString& text, std::ostream* out);

// The colour 0x00RRGGBB at a point of an image, alpha left out.
std::uint32_t rgbAt(const QImage& image, int x, int y);
