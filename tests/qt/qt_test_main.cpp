#include <QApplication>
#include <gtest/gtest.h>

// The front end's tests drive real widgets; without a display of their own
// they run on Qt's offscreen platform.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
