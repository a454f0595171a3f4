// The preview on the screen: the core's fit layout appears in the widget's
// client area inside its edge, and a GIF animates until another picture
// is dropped.

#include <QTest>
#include <gtest/gtest.h>

#include "drag_and_drop.h"
#include "picture_fixtures.h"
#include "running_program.h"
#include "window/description.h"

namespace {

constexpr std::uint32_t previewGreen = 0x00E080;
constexpr std::uint32_t blue = 0x2040FF;
constexpr std::uint32_t red = 0xFF0000;
constexpr std::uint32_t yellow = 0xFFEE00;

void dropFile(RunningProgram& program, const QString& path) {
    const auto data = fileDrag({path});
    dragAndDrop(program.window(), *data, QPoint(400, 200));
}

// The first and last pixel of the drawn rectangle have the picture's
// colour, the pixels just outside it the background.
void expectDrawnAt(const QImage& client, QRect drawn, std::uint32_t rgb) {
    EXPECT_EQ(rgbAt(client, drawn.left(), drawn.top()), rgb);
    EXPECT_EQ(rgbAt(client, drawn.right(), drawn.bottom()), rgb);
    const QRect inside = client.rect();
    const QPoint outside[] = {drawn.topLeft() - QPoint(1, 0), drawn.topLeft() - QPoint(0, 1),
                              drawn.bottomRight() + QPoint(1, 0), drawn.bottomRight() + QPoint(0, 1)};
    for (QPoint point : outside) {
        if (inside.contains(point)) {
            EXPECT_EQ(rgbAt(client, point.x(), point.y()), previewGreen);
        }
    }
}

TEST(QtPreview, PaintsTheFitLayoutInsideItsEdge) {
    struct Case {
        int width;
        int height;
        QRect drawn;
    };
    const Case cases[] = {
        {420, 420, QRect(0, 0, 418, 418)},
        {100, 50, QRect(159, 184, 100, 50)},
        {800, 400, QRect(0, 104, 418, 209)},
    };
    runProgram([&cases](RunningProgram& program) {
        PictureFolder folder;
        for (const Case& each : cases) {
            SCOPED_TRACE(each.width);
            dropFile(program, folder.write(QStringLiteral("%1.bmp").arg(each.width),
                                           solidBitmap(each.width, each.height, blue)));
            const QImage client = program.previewClient();
            ASSERT_EQ(client.size(), QSize(418, 418));
            expectDrawnAt(client, each.drawn, blue);
        }
        QWidget* preview = program.controlWidget(control_names::preview);
        const QImage whole = preview->grab().toImage();
        EXPECT_NE(rgbAt(whole, 0, 0), previewGreen);  // the sunken edge
        EXPECT_NE(rgbAt(whole, 419, 419), blue);
    });
}

bool previewCentreBecomes(const RunningProgram& program, std::uint32_t rgb) {
    return QTest::qWaitFor([&] { return rgbAt(program.previewClient(), 209, 209) == rgb; }, 10000);
}

TEST(QtPreview, AGifAnimatesUntilAnotherPictureIsDropped) {
    runProgram([](RunningProgram& program) {
        PictureFolder folder;
        dropFile(program, folder.write(QStringLiteral("moving.gif"), twoFrameGif(40, 40, red, blue, 2)));
        EXPECT_TRUE(previewCentreBecomes(program, red));
        EXPECT_TRUE(previewCentreBecomes(program, blue));
        EXPECT_TRUE(previewCentreBecomes(program, red));

        dropFile(program, folder.write(QStringLiteral("still.bmp"), solidBitmap(40, 40, yellow)));
        EXPECT_EQ(rgbAt(program.previewClient(), 209, 209), yellow);
        // Frames of the old animation would have come several times over
        // in this span; none may replace the new picture.
        QTest::qWait(200);
        EXPECT_EQ(rgbAt(program.previewClient(), 209, 209), yellow);
    });
}

}  // namespace
