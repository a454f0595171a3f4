// The window as it opens: its frame, its controls in their places and
// stacking order, the start state the size label, slider, status and
// preview show, and the keys that close it or do nothing.

#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/group_frame.h"
#include "platform/qt/label_widget.h"
#include "actions/actions.h"
#include "platform/qt/main_window.h"
#include "platform/qt/qt_host.h"
#include "running_program.h"
#include "window/description.h"

namespace {

using namespace control_names;

constexpr std::uint32_t previewGreen = 0x00E080;  // RGB(0, 224, 128)
constexpr char sizeLabelAtStart[] = "\xB5\xB1\xC7\xB0\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1\xA3\xBA" "0";  // 当前图片大小：0
constexpr char wrappedLabel[] = "\xB1\xEA\xC7\xA9" "3";  // 标签3

bool allPixelsAre(const QImage& image, std::uint32_t rgb) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (rgbAt(image, x, y) != rgb) return false;
        }
    }
    return true;
}

TEST(QtWindowStart, OpensWithTheStartStateOfTheDescription) {
    const int exitCode = runProgram([](RunningProgram& program) {
        EXPECT_EQ(program.labelText(sizeLabel), shown(sizeLabelAtStart));
        EXPECT_EQ(program.control<QSlider>(sizeSlider)->value(), 10);
        EXPECT_EQ(program.storedSliderPosition(), 0);
        EXPECT_EQ(program.labelText(statusLabel), QString());
        EXPECT_EQ(program.control<QLineEdit>(typedSizeBox)->text(), QString());
        EXPECT_EQ(program.control<QLineEdit>(customSizeBox)->text(), QString());
        const QImage preview = program.previewClient();
        EXPECT_EQ(preview.size(), QSize(418, 418));
        EXPECT_TRUE(allPixelsAre(preview, previewGreen));
    });
    EXPECT_EQ(exitCode, 0);
}

TEST(QtWindowStart, HasAFixedClientAreaMinimiseCloseAndAnIcon) {
    runProgram([](RunningProgram& program) {
        MainWindow& window = program.window();
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.windowTitle(), QStringLiteral("修改图片大小"));
        EXPECT_EQ(window.size(), QSize(660, 435));
        EXPECT_EQ(window.minimumSize(), window.maximumSize());
        const Qt::WindowFlags flags = window.windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(64, 64)));
    });
}

// Every visible control of the description has a widget at its place in its
// container; the three hidden ones have none.
TEST(QtWindowStart, PlacesEveryControlInItsContainer) {
    runProgram([](RunningProgram& program) {
        const WindowDescription& description = mainWindowDescription();
        for (std::size_t i = 0; i < description.controlCount; ++i) {
            const ControlDescription& entry = description.controls[i];
            SCOPED_TRACE(shown(entry.name).toStdString());
            QWidget* widget = program.controlWidget(entry.name);
            if (!entry.visible) {
                EXPECT_EQ(widget, nullptr);
                continue;
            }
            ASSERT_NE(widget, nullptr);
            EXPECT_TRUE(widget->isVisible());
            EXPECT_EQ(widget->geometry(), QRect(entry.left, entry.top, entry.width, entry.height));
            QWidget* container = entry.container.empty() ? &program.window() : program.controlWidget(entry.container);
            EXPECT_EQ(widget->parentWidget(), container);
        }
        EXPECT_EQ(program.control<QPushButton>(saveButton)->text(), QStringLiteral("保存"));
        EXPECT_EQ(program.control<GroupFrame>(group2)->title(), QStringLiteral("自定义保存图片大小"));
    });
}

// 标签3 lies on the window above 分组框1, whose area it shares.
TEST(QtWindowStart, StacksTheFirstListedControlOnTop) {
    runProgram([](RunningProgram& program) {
        QWidget* label = program.controlWidget(wrappedLabel);
        ASSERT_NE(label, nullptr);
        const QPoint inside = label->geometry().center();
        EXPECT_EQ(program.window().childAt(inside), label);
    });
}

// The wrapped label draws its text on more than one line: ink in at least
// two bands of rows separated by rows of bare background.
TEST(QtWindowStart, WrapsTheHintLabelOverSeveralLines) {
    runProgram([](RunningProgram& program) {
        QWidget* label = program.controlWidget(wrappedLabel);
        ASSERT_NE(label, nullptr);
        const QImage image = label->grab().toImage();
        const std::uint32_t background = label->palette().color(QPalette::Window).rgb() & 0xFFFFFFu;
        int bands = 0;
        bool previousRowInked = false;
        for (int y = 0; y < image.height(); ++y) {
            bool inked = false;
            for (int x = 0; x < image.width() && !inked; ++x) inked = rgbAt(image, x, y) != background;
            if (inked && !previousRowInked) ++bands;
            previousRowInked = inked;
        }
        EXPECT_GE(bands, 2);
        auto* hint = dynamic_cast<LabelWidget*>(label);
        ASSERT_NE(hint, nullptr);
        const QStringList lines = LabelWidget::wrappedLines(hint->text(), QFontMetrics(hint->font()), hint->width());
        ASSERT_EQ(lines.size(), 2);
        EXPECT_EQ(lines[1], QStringLiteral("最大到尺寸到420"));
    });
}

// Lines break at the text's line breaks and wrap at spaces only: the hint's
// first sentence, one Chinese word, keeps its line and is cut off there.
TEST(QtLabel, WrapsAtLineBreaksAndSpaces) {
    QFont font;
    font.setPixelSize(12);
    const QFontMetrics metrics(font);
    const int width = metrics.horizontalAdvance(QStringLiteral("two words"));
    struct Case {
        QString text;
        QStringList lines;
    };
    const Case cases[] = {
        {QStringLiteral("可以直接拖入图片调整大小。\r\n最大到尺寸到420"),
         {QStringLiteral("可以直接拖入图片调整大小。"), QStringLiteral("最大到尺寸到420")}},
        {QStringLiteral("two words two words"), {QStringLiteral("two words"), QStringLiteral("two words")}},
        {QStringLiteral("one\ntwo"), {QStringLiteral("one"), QStringLiteral("two")}},
        {QStringLiteral("averyveryverylongword x"), {QStringLiteral("averyveryverylongword"), QStringLiteral("x")}},
        {QString(), {QString()}},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.text.toStdString());
        EXPECT_EQ(LabelWidget::wrappedLines(each.text, metrics, width), each.lines);
    }
}

TEST(QtWindowStart, LabelsShowAnAmpersandAsItIs) {
    runProgram([](RunningProgram& program) {
        auto* label = program.control<LabelWidget>(statusLabel);
        ASSERT_NE(label, nullptr);
        label->setText(QStringLiteral("A&B"));
        EXPECT_EQ(label->text(), QStringLiteral("A&B"));
    });
}

// Esc closes the window, whichever control has the focus; the program
// ends with exit code 0 and the drop target is revoked on the way.
TEST(QtWindowStart, EscClosesTheWindowFromAnyControl) {
    const std::string_view focusedControls[] = {typedSizeBox, customSizeBox, sizeSlider, saveButton};
    for (std::string_view name : focusedControls) {
        SCOPED_TRACE(shown(name).toStdString());
        bool acceptedDropsBeforeClose = false;
        bool acceptsDropsAfterClose = true;
        bool stillOpen = true;
        const int exitCode = runProgram([&](RunningProgram& program) {
            QWidget* focused = program.controlWidget(name);
            ASSERT_NE(focused, nullptr);
            acceptedDropsBeforeClose = program.window().acceptDrops();
            QTest::keyClick(focused, Qt::Key_Escape);
            stillOpen = program.window().isVisible();
            acceptsDropsAfterClose = program.window().acceptDrops();
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(acceptedDropsBeforeClose);
        EXPECT_FALSE(stillOpen);
        EXPECT_FALSE(acceptsDropsAfterClose);
    }
}

struct SeenWhileDestroying {
    WindowHandle handle = 0;
    bool previewExists = false;
};
SeenWhileDestroying seenWhileDestroying;

void recordWindowDestroying() {
    seenWhileDestroying.handle = windowHandle();
    const auto* host = dynamic_cast<QtHost*>(windowHost());
    seenWhileDestroying.previewExists = host != nullptr && host->mainWindow() != nullptr &&
                                        host->mainWindow()->control(preview) != nullptr;
    closeDropIntake();
}

// windowDestroying comes while the window and its controls exist; after it
// the window is gone for the core.
TEST(QtWindowStart, ClosingRaisesWindowDestroyingWhileTheWindowExists) {
    HandlerTable handlers = actionHandlers();
    handlers.closeDropIntake = recordWindowDestroying;
    seenWhileDestroying = {};
    WindowHandle handleAfterClose = 1;
    const int exitCode = runProgram(
        [&handleAfterClose](RunningProgram& program) {
            program.window().close();
            handleAfterClose = windowHandle();
        },
        handlers);
    EXPECT_EQ(exitCode, 0);
    EXPECT_NE(seenWhileDestroying.handle, 0u);
    EXPECT_TRUE(seenWhileDestroying.previewExists);
    EXPECT_EQ(handleAfterClose, 0u);
}

// Enter in an edit box presses no button: no resize, no dialog, no box.
TEST(QtWindowStart, EnterInAnEditBoxPressesNothing) {
    runProgram([](RunningProgram& program) {
        ModalAnswers answers({});
        for (std::string_view name : {typedSizeBox, customSizeBox}) {
            auto* edit = program.control<QLineEdit>(name);
            ASSERT_NE(edit, nullptr);
            QTest::keyClicks(edit, "30");
            QTest::keyClick(edit, Qt::Key_Return);
            QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
            EXPECT_EQ(edit->text(), QStringLiteral("30"));
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(program.control<QSlider>(sizeSlider)->value(), 10);
        EXPECT_EQ(program.labelText(statusLabel), QString());
        EXPECT_EQ(answers.unexpected(), 0u);
        EXPECT_TRUE(program.window().isVisible());
    });
}

}  // namespace
