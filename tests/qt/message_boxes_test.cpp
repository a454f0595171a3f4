// The two kinds of message box: GBK texts shown right, line breaks as
// lines, the fatal box captioned "错误" with the error icon, each modal to
// the whole program.

#include <QMessageBox>
#include <gtest/gtest.h>

#include "app/fatal.h"
#include "app/text.h"
#include "platform/qt/message_boxes.h"
#include "running_program.h"

namespace {

struct ShownBox {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    int buttons = 0;
};

ModalAnswers::Answer recordAndDismiss(ShownBox& shown) {
    return [&shown](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box != nullptr) {
            shown = {box->text(), box->windowTitle(), box->icon(), box->windowModality(),
                     static_cast<int>(box->buttons().size())};
        }
        modal->close();
    };
}

TEST(QtMessageBoxes, TheFatalBoxShowsTheErrorWithItsCaptionAndIcon) {
    ShownBox shown;
    ModalAnswers answers({recordAndDismiss(shown)});
    // 载入启动窗口失败
    runFatalBox(fatalBoxText("\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC"));
    EXPECT_EQ(answers.answered(), 1u);
    EXPECT_EQ(shown.caption, QStringLiteral("错误"));
    EXPECT_EQ(shown.icon, QMessageBox::Critical);
    EXPECT_EQ(shown.text, QStringLiteral("运行时出错!\n\n错误信息：载入启动窗口失败\n"));
    EXPECT_EQ(shown.modality, Qt::ApplicationModal);
    EXPECT_EQ(shown.buttons, 1);
}

TEST(QtMessageBoxes, AMessageBoxShowsItsTextAndCaption) {
    ShownBox shown;
    ModalAnswers answers({recordAndDismiss(shown)});
    runMessageBox(Text::copyOf("\xD7\xEE\xB4\xF3" "420\xB9\xFE"), Text::copyOf("\xD0\xC5\xCF\xA2\xA3\xBA"));
    EXPECT_EQ(answers.answered(), 1u);
    EXPECT_EQ(shown.text, QStringLiteral("最大420哈"));
    EXPECT_EQ(shown.caption, QStringLiteral("信息："));
    EXPECT_EQ(shown.icon, QMessageBox::NoIcon);
    EXPECT_EQ(shown.modality, Qt::ApplicationModal);
    EXPECT_EQ(shown.buttons, 1);
}

}  // namespace
