#include "platform/qt/size_slider.h"

#include <QKeyEvent>
#include <QPainter>

#include "platform/qt/sunken_edge.h"

std::optional<ScrollCode> scrollCodeOf(int action, bool thumbHeld, bool movedUp) {
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return ScrollCode::LineDown;
    case QAbstractSlider::SliderSingleStepSub: return ScrollCode::LineUp;
    case QAbstractSlider::SliderPageStepAdd: return ScrollCode::PageDown;
    case QAbstractSlider::SliderPageStepSub: return ScrollCode::PageUp;
    case QAbstractSlider::SliderToMinimum: return ScrollCode::Top;
    case QAbstractSlider::SliderToMaximum: return ScrollCode::Bottom;
    case QAbstractSlider::SliderMove:
        if (thumbHeld) return ScrollCode::ThumbTrack;
        return movedUp ? ScrollCode::LineDown : ScrollCode::LineUp;
    default: return std::nullopt;
    }
}

std::optional<QAbstractSlider::SliderAction> trackBarActionOf(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Up: return QAbstractSlider::SliderSingleStepSub;
    case Qt::Key_Right:
    case Qt::Key_Down: return QAbstractSlider::SliderSingleStepAdd;
    case Qt::Key_PageUp: return QAbstractSlider::SliderPageStepSub;
    case Qt::Key_PageDown: return QAbstractSlider::SliderPageStepAdd;
    case Qt::Key_Home: return QAbstractSlider::SliderToMinimum;
    case Qt::Key_End: return QAbstractSlider::SliderToMaximum;
    default: return std::nullopt;
    }
}

SizeSlider::SizeSlider(const SliderSettings& settings, QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setRange(settings.minimum, settings.maximum);
    setSingleStep(settings.lineStep);
    setPageStep(settings.pageStep);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(settings.tickFrequency);
    placeThumb(settings.storedPosition);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) { reportAction(action); });
    connect(this, &QAbstractSlider::sliderReleased, this, [this] { reportRelease(); });
}

void SizeSlider::placeThumb(std::int32_t position) { setValue(position); }

// At actionTriggered the thumb stands at its new place (sliderPosition)
// while value() still holds the old one.
void SizeSlider::reportAction(int action) {
    const std::optional<ScrollCode> code = scrollCodeOf(action, isSliderDown(), sliderPosition() > value());
    if (code && report_) report_(*code, sliderPosition());
}

void SizeSlider::reportRelease() {
    if (!report_) return;
    report_(ScrollCode::ThumbPosition, sliderPosition());
    report_(ScrollCode::EndTrack, sliderPosition());
}

void SizeSlider::keyPressEvent(QKeyEvent* event) {
    const std::optional<SliderAction> action =
        event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier
            ? trackBarActionOf(event->key())
            : std::nullopt;
    if (!action) {
        QSlider::keyPressEvent(event);
        return;
    }
    triggerAction(*action);
    event->accept();
}

void SizeSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    QPainter painter(this);
    drawSunkenEdge(painter, rect(), palette());
}
