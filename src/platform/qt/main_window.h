#pragma once

#include <QWidget>
#include <map>
#include <string>
#include <string_view>

// The main window: fixed client size, minimise and close but no maximise,
// its icon, every control of the window description in its container and
// stacking order. Esc closes it, also while an edit box or the slider has
// the focus. Closing raises windowDestroying while every control still
// exists. Drags anywhere on it go to the core's drop target once the
// target is registered (setAcceptDrops).
class MainWindow : public QWidget {
public:
    MainWindow();

    // The widget of a control (a GBK name), or null for a control that has
    // none on the screen.
    QWidget* control(std::string_view name) const;
    bool closing() const { return closing_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void createControls();

    std::map<std::string, QWidget*, std::less<>> controls_;
    bool closing_ = false;
};
