#pragma once

class QPainter;
class QPalette;
class QRect;

// The one-pixel sunken edge (Windows' static edge) along the inside of
// outer: shadow on the top and left, light on the bottom and right.
void drawSunkenEdge(QPainter& painter, const QRect& outer, const QPalette& palette);
