// The size controls on the screen: slider keys and drags reach the size
// handler with the thumb's new position, the typed-size box filters what
// is typed and not what is pasted, and the confirm button's refusal shows
// its message box. The handlers' own rules are the core's tests.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "drag_and_drop.h"
#include "picture_fixtures.h"
#include "platform/qt/size_edit.h"
#include "platform/qt/size_slider.h"
#include "running_program.h"
#include "window/description.h"

namespace {

using namespace control_names;

constexpr std::uint32_t previewGreen = 0x00E080;
constexpr std::uint32_t red = 0xFF0000;

QString sizeLabelFor(int size) { return QStringLiteral("当前图片大小：%1").arg(size); }

QRect thumbRect(const QSlider& slider) {
    QStyleOptionSlider option;
    option.initFrom(&slider);
    option.orientation = slider.orientation();
    option.minimum = slider.minimum();
    option.maximum = slider.maximum();
    option.sliderPosition = slider.sliderPosition();
    option.sliderValue = slider.value();
    option.singleStep = slider.singleStep();
    option.pageStep = slider.pageStep();
    option.tickPosition = slider.tickPosition();
    option.tickInterval = slider.tickInterval();
    option.subControls = QStyle::SC_All;
    return slider.style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, &slider);
}

// Drops a 40 x 40 red picture on the window as the source to resize.
void dropRedSource(RunningProgram& program, const PictureFolder& folder) {
    const QString source = folder.write(QStringLiteral("red.bmp"), solidBitmap(40, 40, red));
    const auto data = fileDrag({source});
    dragAndDrop(program.window(), *data, QPoint(400, 200));
}

// A size x size square of the source, centred in the preview's client area.
void expectRedSquareInPreview(const RunningProgram& program, int size) {
    const QImage preview = program.previewClient();
    const int first = (418 - size) / 2;
    const int last = first + size - 1;
    EXPECT_EQ(rgbAt(preview, first, first), red);
    EXPECT_EQ(rgbAt(preview, last, last), red);
    EXPECT_EQ(rgbAt(preview, first - 1, first), previewGreen);
    EXPECT_EQ(rgbAt(preview, last + 1, last), previewGreen);
}

TEST(QtSizeSlider, MapsEverySliderActionToOneTrackBarCode) {
    struct Case {
        int action;
        bool thumbHeld;
        bool movedUp;
        std::optional<ScrollCode> code;
    };
    const Case cases[] = {
        {QAbstractSlider::SliderSingleStepAdd, false, true, ScrollCode::LineDown},
        {QAbstractSlider::SliderSingleStepSub, false, false, ScrollCode::LineUp},
        {QAbstractSlider::SliderPageStepAdd, false, true, ScrollCode::PageDown},
        {QAbstractSlider::SliderPageStepSub, false, false, ScrollCode::PageUp},
        {QAbstractSlider::SliderToMinimum, false, false, ScrollCode::Top},
        {QAbstractSlider::SliderToMaximum, false, true, ScrollCode::Bottom},
        {QAbstractSlider::SliderMove, true, true, ScrollCode::ThumbTrack},
        {QAbstractSlider::SliderMove, true, false, ScrollCode::ThumbTrack},
        {QAbstractSlider::SliderMove, false, true, ScrollCode::LineDown},  // the mouse wheel
        {QAbstractSlider::SliderMove, false, false, ScrollCode::LineUp},
        {QAbstractSlider::SliderNoAction, false, false, std::nullopt},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.action);
        EXPECT_EQ(scrollCodeOf(each.action, each.thumbHeld, each.movedUp), each.code);
    }
}

TEST(QtSizeSlider, HasTheRangeStepsAndTicksOfTheDescription) {
    runProgram([](RunningProgram& program) {
        const auto* slider = program.control<QSlider>(sizeSlider);
        ASSERT_NE(slider, nullptr);
        EXPECT_EQ(slider->orientation(), Qt::Horizontal);
        EXPECT_EQ(slider->minimum(), 10);
        EXPECT_EQ(slider->maximum(), 420);
        EXPECT_EQ(slider->singleStep(), 10);
        EXPECT_EQ(slider->pageStep(), 10);
        EXPECT_EQ(slider->tickPosition(), QSlider::TicksBelow);
        EXPECT_EQ(slider->tickInterval(), 30);
    });
}

TEST(QtSizeSlider, KeysResizeAndRelabel) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        dropRedSource(program, folder);
        auto* slider = program.control<QSlider>(sizeSlider);
        ASSERT_NE(slider, nullptr);

        QTest::keyClick(slider, Qt::Key_Right);
        EXPECT_EQ(slider->value(), 20);
        EXPECT_EQ(program.storedSliderPosition(), 20);
        EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(20));
        expectRedSquareInPreview(program, 20);

        QTest::keyClick(slider, Qt::Key_End);
        EXPECT_EQ(slider->value(), 420);
        EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(420));
        const QImage full = program.previewClient();
        EXPECT_EQ(rgbAt(full, 0, 0), red);
        EXPECT_EQ(rgbAt(full, 417, 417), red);

        QTest::keyClick(slider, Qt::Key_Home);
        EXPECT_EQ(slider->value(), 10);
        EXPECT_EQ(program.storedSliderPosition(), 10);
        EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(10));
        expectRedSquareInPreview(program, 10);

    });
}

// Each key moves the thumb as a track bar does and relabels once with the
// new position, also when the thumb stays at an end.
TEST(QtSizeSlider, KeysMoveTheThumbAsATrackBar) {
    struct Case {
        Qt::Key key;
        int position;
    };
    const Case keys[] = {
        {Qt::Key_Left, 10},  {Qt::Key_PageDown, 20}, {Qt::Key_Down, 30}, {Qt::Key_PageDown, 40},
        {Qt::Key_Up, 30},    {Qt::Key_PageUp, 20},   {Qt::Key_Right, 30}, {Qt::Key_End, 420},
        {Qt::Key_Right, 420}, {Qt::Key_PageUp, 410},
    };
    runProgram([&keys](RunningProgram& program) {
        auto* slider = program.control<QSlider>(sizeSlider);
        ASSERT_NE(slider, nullptr);
        for (const Case& each : keys) {
            SCOPED_TRACE(QKeySequence(each.key).toString().toStdString());
            QTest::keyClick(slider, each.key);
            EXPECT_EQ(slider->value(), each.position);
            EXPECT_EQ(program.storedSliderPosition(), each.position);
            EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(each.position));
        }
    });
}

// Each step of a drag relabels at once with the thumb's position, and the
// release leaves label, stored position and thumb agreeing.
TEST(QtSizeSlider, ADragFollowsTheThumbAndEndsOnItsPosition) {
    runProgram([](RunningProgram& program) {
        auto* slider = program.control<QSlider>(sizeSlider);
        ASSERT_NE(slider, nullptr);
        QPoint at = thumbRect(*slider).center();
        QTest::mousePress(slider, Qt::LeftButton, {}, at);
        for (int step = 0; step < 4; ++step) {
            at += QPoint(20, 0);
            QTest::mouseMove(slider, at);
            EXPECT_TRUE(slider->isSliderDown());
            EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(slider->sliderPosition()));
            EXPECT_EQ(program.storedSliderPosition(), slider->sliderPosition());
        }
        QTest::mouseRelease(slider, Qt::LeftButton, {}, at);
        EXPECT_FALSE(slider->isSliderDown());
        EXPECT_GT(slider->value(), 10);
        EXPECT_EQ(program.storedSliderPosition(), slider->value());
        EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(slider->value()));
    });
}

TEST(QtTypedSize, TypedSizeAndConfirmResizeAndMoveTheThumb) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        dropRedSource(program, folder);
        auto* edit = program.control<QLineEdit>(typedSizeBox);
        ASSERT_NE(edit, nullptr);
        QTest::keyClicks(edit, "200");
        QTest::mouseClick(program.control<QPushButton>(confirmButton), Qt::LeftButton);
        EXPECT_EQ(program.control<QSlider>(sizeSlider)->value(), 200);
        EXPECT_EQ(program.storedSliderPosition(), 200);
        expectRedSquareInPreview(program, 200);
    });
}

// Above 420 the confirm button shows "最大420哈" captioned "信息：" and
// changes nothing; a pasted text is not filtered on its way there.
TEST(QtTypedSize, RefusesSizesAbove420WithItsMessage) {
    const char* const typedOrPasted[] = {"421", "1e3"};
    for (const char* size : typedOrPasted) {
        SCOPED_TRACE(size);
        runProgram([size](RunningProgram& program) {
            auto* edit = program.control<QLineEdit>(typedSizeBox);
            ASSERT_NE(edit, nullptr);
            QApplication::clipboard()->setText(QString::fromLatin1(size));
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            ASSERT_EQ(edit->text(), QString::fromLatin1(size));

            QString text;
            QString caption;
            ModalAnswers answers({dismissMessage(&text, &caption)});
            QTest::mouseClick(program.control<QPushButton>(confirmButton), Qt::LeftButton);
            EXPECT_EQ(answers.answered(), 1u);
            EXPECT_EQ(text, QStringLiteral("最大420哈"));
            EXPECT_EQ(caption, QStringLiteral("信息："));
            EXPECT_EQ(program.control<QSlider>(sizeSlider)->value(), 10);
            EXPECT_EQ(program.storedSliderPosition(), 0);
            EXPECT_EQ(program.labelText(sizeLabel), sizeLabelFor(0));
            EXPECT_EQ(rgbAt(program.previewClient(), 209, 209), previewGreen);
        });
    }
}

TEST(QtTypedSize, TypingKeepsOnlyDigitsAndMinus) {
    runProgram([](RunningProgram& program) {
        for (std::string_view name : {typedSizeBox, customSizeBox}) {
            auto* edit = program.control<QLineEdit>(name);
            ASSERT_NE(edit, nullptr);
            QTest::keyClicks(edit, "a1-2.3+ ");
            EXPECT_EQ(edit->text(), QStringLiteral("1-23"));
            QTest::keyClick(edit, Qt::Key_Backspace);
            EXPECT_EQ(edit->text(), QStringLiteral("1-2"));
        }
    });
}

TEST(QtTypedSize, KeepsDigitsAndMinusOfAnyTypedText) {
    EXPECT_EQ(SizeEdit::acceptedTyping(QStringLiteral("-12")), QStringLiteral("-12"));
    EXPECT_EQ(SizeEdit::acceptedTyping(QStringLiteral("a.+e ")), QString());
    EXPECT_EQ(SizeEdit::acceptedTyping(QStringLiteral("１2")), QStringLiteral("2"));  // a full-width one
    EXPECT_EQ(SizeEdit::acceptedTyping(QStringLiteral("\b\x16")), QStringLiteral("\b\x16"));
}

TEST(QtTypedSize, EditBoxesAreCentredBlackOnWhite) {
    runProgram([](RunningProgram& program) {
        auto* edit = program.control<QLineEdit>(customSizeBox);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->alignment(), Qt::AlignCenter);
        const QImage image = edit->grab().toImage();
        EXPECT_EQ(rgbAt(image, edit->width() / 2, 3), 0xFFFFFFu);
        EXPECT_NE(rgbAt(image, 0, 0), 0xFFFFFFu);  // the sunken edge
        EXPECT_FALSE(edit->acceptDrops());
    });
}

}  // namespace
