#pragma once

#include <QLineEdit>
#include <QString>

// An edit box for a whole-number size: one line, centred, black on white,
// with a one-pixel sunken edge. A typed character from code 32 up is kept
// only when it is a digit or '-'; control characters (backspace, the
// clipboard shortcuts) pass. Pasted text is not filtered, and nothing is
// checked when the box loses the focus. The box takes no drops, so a file
// dragged over it reaches the window's drop target.
class SizeEdit : public QLineEdit {
public:
    explicit SizeEdit(QWidget* parent);

    // The characters of typed that the box keeps.
    static QString acceptedTyping(const QString& typed);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
