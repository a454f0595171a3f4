#pragma once

#include <QWidget>

class PictureBox;

// The preview 图片框1 on the screen: a one-pixel sunken edge around the
// client area, which the core's picture box paints into a raster that is
// then put on the widget as it is.
class PreviewWidget : public QWidget {
public:
    PreviewWidget(PictureBox& box, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PictureBox& box_;
};
