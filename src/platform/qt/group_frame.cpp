#include "platform/qt/group_frame.h"

#include <QFontMetrics>
#include <QPainter>
#include <qdrawutil.h>

#include "platform/qt/colours.h"
#include "platform/qt/gbk_text.h"

namespace {

constexpr int titleIndent = 6;
constexpr int titleGap = 2;  // background kept clear on each side of the title

}  // namespace

GroupFrame::GroupFrame(const ControlDescription& description, QWidget* parent)
    : QWidget(parent),
      title_(fromGbk(description.text)),
      titleColour_(description.textColour),
      background_(description.background) {}

void GroupFrame::setTitle(const QString& title) {
    title_ = title;
    update();
}

// The frame's top line runs through the middle of the title's line, with
// or without a title.
void GroupFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor background = qtColourOf(background_, palette());
    painter.fillRect(rect(), background);
    const QFontMetrics metrics(font());
    const int frameTop = metrics.height() / 2;
    qDrawShadeRect(&painter, QRect(0, frameTop, width(), height() - frameTop), palette(), /*sunken=*/true,
                   /*lineWidth=*/1, /*midLineWidth=*/0);
    if (title_.isEmpty()) return;
    const QRect titleArea(titleIndent, 0, metrics.horizontalAdvance(title_) + 2 * titleGap, metrics.height());
    painter.fillRect(titleArea, background);
    painter.setPen(qtColourOf(titleColour_, palette()));
    painter.drawText(titleArea, Qt::AlignCenter | Qt::TextSingleLine, title_);
}
