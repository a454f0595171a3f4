// The save buttons through the real save dialog: the file written holds
// the bitmap of the typed size, the status label reports, the next dialog
// proposes the last path, and a refused target stays as it was.

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

#include "drag_and_drop.h"
#include "picture_fixtures.h"
#include "running_program.h"
#include "window/description.h"

namespace {

using namespace control_names;

const QString saved = QStringLiteral("保存成功！");
const QString failed = QStringLiteral("保存失败...");

struct SaveButton {
    std::string_view sizeBox;
    std::string_view button;
    const char* size;
    int edge;
};

// Both buttons, at sizes the confirm button would refuse.
const SaveButton saveButtons[] = {
    {typedSizeBox, saveButton, "500", 500},
    {customSizeBox, customSaveButton, "1000", 1000},
};

void dropSource(RunningProgram& program, const PictureFolder& folder) {
    const QString source = folder.write(QStringLiteral("source.bmp"), solidBitmap(30, 20, 0x3366CC));
    const auto data = fileDrag({source});
    dragAndDrop(program.window(), *data, QPoint(400, 200));
}

TEST(QtSaving, EachButtonWritesTheBitmapOfItsSize) {
    for (const SaveButton& each : saveButtons) {
        SCOPED_TRACE(each.size);
        runProgram([&each](RunningProgram& program) {
            PictureFolder folder;
            ASSERT_TRUE(folder.valid());
            dropSource(program, folder);
            QTest::keyClicks(program.control<QLineEdit>(each.sizeBox), each.size);

            const QString target = folder.path(QStringLiteral("square.jpg"));
            QString proposed;
            ModalAnswers answers({chooseFile(target, &proposed)});
            QTest::mouseClick(program.control<QPushButton>(each.button), Qt::LeftButton);
            EXPECT_EQ(answers.answered(), 1u);
            EXPECT_EQ(answers.unexpected(), 0u);
            EXPECT_TRUE(proposed.endsWith(QStringLiteral("/.jpg"))) << proposed.toStdString();

            const QByteArray file = folder.read(QStringLiteral("square.jpg"));
            EXPECT_TRUE(file.startsWith("BM"));
            EXPECT_EQ(bitmapWidth(file), each.edge);
            EXPECT_EQ(bitmapHeight(file), each.edge);
            EXPECT_EQ(program.labelText(statusLabel), saved);
            EXPECT_EQ(program.control<QSlider>(sizeSlider)->value(), 10);
        });
    }
}

// The dialog adds the default extension to a name typed without one, and
// the next dialog opens on the path confirmed last.
TEST(QtSaving, TheNextDialogProposesTheLastConfirmedPath) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        dropSource(program, folder);
        QTest::keyClicks(program.control<QLineEdit>(typedSizeBox), "40");
        auto* button = program.control<QPushButton>(saveButton);

        QString secondProposal;
        ModalAnswers answers({chooseFile(folder.path(QStringLiteral("first"))),
                              chooseFile(folder.path(QStringLiteral("second.jpg")), &secondProposal)});
        QTest::mouseClick(button, Qt::LeftButton);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(answers.answered(), 2u);
        EXPECT_EQ(secondProposal, folder.path(QStringLiteral("first.jpg")));
        EXPECT_EQ(bitmapWidth(folder.read(QStringLiteral("first.jpg"))), 40);
        EXPECT_EQ(bitmapWidth(folder.read(QStringLiteral("second.jpg"))), 40);
    });
}

// A read-only file is not replaced: "保存失败...", its bytes unchanged; a
// following save elsewhere reports success again.
TEST(QtSaving, AReadOnlyTargetFailsAndStaysIntact) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        dropSource(program, folder);
        const QString target = folder.write(QStringLiteral("kept.jpg"), {'k', 'e', 'e', 'p'});
        ASSERT_TRUE(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QTest::keyClicks(program.control<QLineEdit>(customSizeBox), "64");
        auto* button = program.control<QPushButton>(customSaveButton);

        ModalAnswers answers({chooseFile(target), answerYes(), chooseFile(folder.path(QStringLiteral("new.jpg")))});
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(answers.answered(), 2u);  // the dialog and its overwrite question
        EXPECT_EQ(program.labelText(statusLabel), failed);
        EXPECT_EQ(folder.read(QStringLiteral("kept.jpg")), QByteArray("keep"));

        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(program.labelText(statusLabel), saved);
        EXPECT_EQ(bitmapWidth(folder.read(QStringLiteral("new.jpg"))), 64);
        EXPECT_EQ(answers.unexpected(), 0u);
    });
}

TEST(QtSaving, CancellingTheDialogWritesNothing) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        dropSource(program, folder);
        QTest::keyClicks(program.control<QLineEdit>(typedSizeBox), "40");
        ModalAnswers answers({[](QWidget* dialog) { dialog->close(); }});
        QTest::mouseClick(program.control<QPushButton>(saveButton), Qt::LeftButton);
        EXPECT_EQ(answers.answered(), 1u);
        EXPECT_EQ(program.labelText(statusLabel), QString());
    });
}

}  // namespace
