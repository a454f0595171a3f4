#include "platform/qt/sunken_edge.h"

#include <QPainter>
#include <QPalette>
#include <QRect>
#include <qdrawutil.h>

void drawSunkenEdge(QPainter& painter, const QRect& outer, const QPalette& palette) {
    qDrawShadePanel(&painter, outer, palette, /*sunken=*/true, /*lineWidth=*/1, /*fill=*/nullptr);
}
