#include <QApplication>

#include "actions/actions.h"
#include "app/lifecycle.h"
#include "platform/qt/qt_host.h"
#include "window/controls.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("squarepic"));
    QtHost host;
    return startProgram(host, mainWindowHooks(host, actionHandlers()));
}
