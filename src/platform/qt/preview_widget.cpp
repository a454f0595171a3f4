#include "platform/qt/preview_widget.h"

#include <QImage>
#include <QPainter>
#include <optional>

#include "imaging/raster.h"
#include "platform/qt/sunken_edge.h"
#include "window/picture_box.h"

namespace {

constexpr int edge = 1;

}  // namespace

PreviewWidget::PreviewWidget(PictureBox& box, QWidget* parent) : QWidget(parent), box_(box) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawSunkenEdge(painter, rect(), palette());
    const QRect client = rect().adjusted(edge, edge, -edge, -edge);
    std::optional<Raster> raster = Raster::create(client.width(), client.height());
    if (!raster) return;
    box_.paint(*raster);
    // The raster's 0x00RRGGBB pixels are Qt's RGB32 layout; its unused top
    // byte is set to opaque on the way, as RGB32 asks.
    QImage image(client.width(), client.height(), QImage::Format_RGB32);
    for (int y = 0; y < client.height(); ++y) {
        const std::uint32_t* source = raster->row(y);
        auto* target = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < client.width(); ++x) target[x] = source[x] | 0xFF000000u;
    }
    painter.drawImage(client.topLeft(), image);
}
