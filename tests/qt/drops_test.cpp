// Drags onto the window as the platform delivers them: files become the
// previewed source wherever they are dropped, text is taken and ignored,
// the keys choose the effect, and every drop is answered refused so that a
// move never deletes the original.

#include <QFile>
#include <QLineEdit>
#include <QSlider>
#include <gtest/gtest.h>

#include "drag_and_drop.h"
#include "picture_fixtures.h"
#include "running_program.h"
#include "window/description.h"

namespace {

using namespace control_names;

constexpr std::uint32_t previewGreen = 0x00E080;
constexpr std::uint32_t yellow = 0xFFEE00;

// Where the 100 x 50 picture lies in the preview's client area.
constexpr QPoint pictureCentre(209, 209);

QPoint centreOf(const RunningProgram& program, std::string_view control) {
    QWidget* widget = program.controlWidget(control);
    return widget->mapTo(&program.window(), widget->rect().center());
}

TEST(QtDrops, OneFileIsPreviewedUnchangedWhereverItIsDropped) {
    const std::string_view dropPlaces[] = {preview, typedSizeBox, sizeLabel, group2};
    for (std::string_view place : dropPlaces) {
        SCOPED_TRACE(shown(place).toStdString());
        runProgram([place](RunningProgram& program) {
            PictureFolder folder;
            const QString file = folder.write(QStringLiteral("one.bmp"), solidBitmap(100, 50, yellow));
            const auto data = fileDrag({file});
            const DragAnswers answers = dragAndDrop(program.window(), *data, centreOf(program, place));
            EXPECT_TRUE(answers.enterAccepted);
            EXPECT_EQ(answers.enterAction, Qt::CopyAction);
            EXPECT_FALSE(answers.dropAccepted);
            EXPECT_EQ(answers.dropAction, Qt::IgnoreAction);

            EXPECT_EQ(rgbAt(program.previewClient(), pictureCentre.x(), pictureCentre.y()), yellow);
            EXPECT_EQ(program.labelText(sizeLabel), QStringLiteral("当前图片大小：0"));
            EXPECT_EQ(program.control<QSlider>(sizeSlider)->value(), 10);
            EXPECT_TRUE(QFile::exists(file));
        });
    }
}

// Three paths joined name no file: the preview is cleared.
TEST(QtDrops, ThreeFilesAtOnceClearThePreview) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        const QString first = folder.write(QStringLiteral("a.bmp"), solidBitmap(100, 50, yellow));
        const auto one = fileDrag({first});
        dragAndDrop(program.window(), *one, QPoint(400, 200));
        ASSERT_EQ(rgbAt(program.previewClient(), pictureCentre.x(), pictureCentre.y()), yellow);

        const auto three = fileDrag({first, folder.write(QStringLiteral("b.bmp"), solidBitmap(8, 8, yellow)),
                                     folder.write(QStringLiteral("c.bmp"), solidBitmap(8, 8, yellow))});
        const DragAnswers answers = dragAndDrop(program.window(), *three, QPoint(400, 200));
        EXPECT_FALSE(answers.dropAccepted);
        EXPECT_EQ(rgbAt(program.previewClient(), pictureCentre.x(), pictureCentre.y()), previewGreen);
    });
}

// The effect follows the keys and what the source allows; plain text is
// accepted for the drag, and its drop changes nothing.
TEST(QtDrops, KeysChooseTheEffectOfATextDrag) {
    struct Case {
        Qt::KeyboardModifiers keys;
        Qt::DropActions possible;
        bool accepted;
        Qt::DropAction action;
    };
    const Qt::DropActions all = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    const Case cases[] = {
        {Qt::NoModifier, all, true, Qt::CopyAction},
        {Qt::ControlModifier, all, true, Qt::CopyAction},
        {Qt::ShiftModifier, all, true, Qt::MoveAction},
        {Qt::ControlModifier | Qt::ShiftModifier, all, false, Qt::IgnoreAction},
        {Qt::NoModifier, Qt::MoveAction, true, Qt::MoveAction},
        {Qt::NoModifier, Qt::LinkAction, true, Qt::LinkAction},
        {Qt::ControlModifier, Qt::MoveAction, false, Qt::IgnoreAction},
        {Qt::AltModifier, all, true, Qt::CopyAction},
    };
    runProgram([&cases](RunningProgram& program) {
        const auto data = textDrag(QStringLiteral("some text"));
        for (const Case& each : cases) {
            SCOPED_TRACE(static_cast<int>(each.keys) + 100 * static_cast<int>(each.possible));
            const DragAnswers answers = dragAndDrop(program.window(), *data, QPoint(400, 200), each.keys,
                                                    each.possible);
            EXPECT_EQ(answers.enterAccepted, each.accepted);
            if (each.accepted) {
                EXPECT_EQ(answers.enterAction, each.action);
            }
            EXPECT_FALSE(answers.dropAccepted);
        }
        EXPECT_EQ(program.control<QLineEdit>(typedSizeBox)->text(), QString());
        EXPECT_EQ(rgbAt(program.previewClient(), pictureCentre.x(), pictureCentre.y()), previewGreen);
    });
}

// The edit boxes take no drops of their own: text dropped on one goes to
// the window's drop target, which takes it and ignores it.
TEST(QtDrops, TextDroppedOnAnEditBoxIsNotTyped) {
    runProgram([](RunningProgram& program) {
        const auto data = textDrag(QStringLiteral("123"));
        for (std::string_view name : {typedSizeBox, customSizeBox}) {
            const DragAnswers answers = dragAndDrop(program.window(), *data, centreOf(program, name));
            EXPECT_TRUE(answers.enterAccepted);
            EXPECT_FALSE(answers.dropAccepted);
            EXPECT_EQ(program.control<QLineEdit>(name)->text(), QString());
        }
    });
}

// With Ctrl and Shift held at the release nothing is delivered.
TEST(QtDrops, AFileDroppedWithCtrlAndShiftIsNotTaken) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        const auto data = fileDrag({folder.write(QStringLiteral("one.bmp"), solidBitmap(100, 50, yellow))});
        const DragAnswers answers =
            dragAndDrop(program.window(), *data, QPoint(400, 200), Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_FALSE(answers.enterAccepted);
        EXPECT_FALSE(answers.dropAccepted);
        EXPECT_EQ(rgbAt(program.previewClient(), pictureCentre.x(), pictureCentre.y()), previewGreen);
    });
}

// A name GBK cannot hold reaches the file system as it is.
TEST(QtDrops, AFileNameOutsideGbkOpens) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        const QString file = folder.write(QStringLiteral("café ✓ 图片.bmp"), solidBitmap(100, 50, yellow));
        const auto data = fileDrag({file});
        dragAndDrop(program.window(), *data, QPoint(400, 200));
        EXPECT_EQ(rgbAt(program.previewClient(), pictureCentre.x(), pictureCentre.y()), yellow);
    });
}

}  // namespace
