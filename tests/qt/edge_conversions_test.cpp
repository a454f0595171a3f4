// The conversions at the front end's edge: GBK texts to Qt and back, file
// names as the file system spells them, drag offers and keys in the drop
// target's terms.

#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>

#include "platform/qt/colours.h"
#include "platform/qt/gbk_text.h"
#include "platform/qt/local_paths.h"
#include "platform/qt/qt_drag_data.h"
#include "window/description.h"

namespace {

TEST(QtGbkText, ConvertsTheWindowTextsBothWays) {
    struct Case {
        std::string_view gbk;
        QString shown;
    };
    const Case cases[] = {
        {mainWindowDescription().caption, QStringLiteral("修改图片大小")},
        {"\xD7\xEE\xB4\xF3" "420\xB9\xFE", QStringLiteral("最大420哈")},
        {"\xA3\xB1\xA3\xB2", QStringLiteral("１２")},  // full-width digits
        {"Qelmora\xA3\xBA Tavix", QStringLiteral("Qelmora： Tavix")},
        {"", QString()},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.shown.toStdString());
        EXPECT_EQ(fromGbk(each.gbk), each.shown);
        EXPECT_EQ(toGbk(each.shown), std::string(each.gbk));
    }
}

TEST(QtGbkText, ACharacterOutsideGbkBecomesAQuestionMark) {
    EXPECT_EQ(toGbk(QStringLiteral("4✓2")), "4?2");
}

TEST(QtLocalPaths, FileNamesKeepEveryCharacter) {
    const QString name = QStringLiteral("/pictures/café ✓ 图片.png");
    const std::string core = corePathOf(name);
    EXPECT_EQ(core, "/pictures/caf\xC3\xA9 \xE2\x9C\x93 \xE5\x9B\xBE\xE7\x89\x87.png");
    EXPECT_EQ(qtPathOf(core), name);
}

TEST(QtDragData, OffersWhatTheMimeDataHolds) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/pictures/a b.png")), QUrl(QStringLiteral("https://example.org/x")),
                  QUrl::fromLocalFile(QStringLiteral("/pictures/图.gif"))});
    const QtDragData files(mime);
    EXPECT_TRUE(files.offersFiles());
    EXPECT_TRUE(files.offersUrl());
    EXPECT_FALSE(files.offersText());
    EXPECT_FALSE(files.offersHtml());
    EXPECT_EQ(files.files(), (std::vector<std::string>{"/pictures/a b.png", "/pictures/\xE5\x9B\xBE.gif"}));

    QMimeData web;
    web.setUrls({QUrl(QStringLiteral("https://example.org/x"))});
    web.setHtml(QStringLiteral("<b>x</b>"));
    web.setText(QStringLiteral("大小"));
    const QtDragData page(web);
    EXPECT_FALSE(page.offersFiles());
    EXPECT_TRUE(page.offersUrl());
    EXPECT_TRUE(page.offersHtml());
    EXPECT_TRUE(page.offersText());
    EXPECT_EQ(page.text(), "\xB4\xF3\xD0\xA1");
}

TEST(QtDragData, KeysAndActionsInTheDropTargetsTerms) {
    EXPECT_FALSE(dragKeysOf(Qt::AltModifier).control);
    EXPECT_TRUE(dragKeysOf(Qt::ControlModifier | Qt::AltModifier).control);
    EXPECT_TRUE(dragKeysOf(Qt::ShiftModifier).shift);
    EXPECT_EQ(allowedEffectsOf(Qt::CopyAction | Qt::LinkAction), 1u | 4u);
    EXPECT_EQ(allowedEffectsOf(Qt::MoveAction | Qt::TargetMoveAction), 2u);
    EXPECT_EQ(dropActionOf(DropEffect::Move), Qt::MoveAction);
    EXPECT_EQ(dropActionOf(DropEffect::None), Qt::IgnoreAction);
}

TEST(QtColours, DescribedColoursAndTheButtonFace) {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(1, 2, 3));
    EXPECT_EQ(qtColourOf(0x8050FF, palette), QColor(255, 80, 128));
    EXPECT_EQ(qtColourOf(buttonFace, palette), QColor(1, 2, 3));
    EXPECT_EQ(colourValueOf(QColor(0, 224, 128)), 0x80E000u);
}

}  // namespace
