#pragma once

#include <QAbstractSlider>
#include <QSlider>
#include <cstdint>
#include <functional>
#include <optional>

#include "window/controls.h"
#include "window/description.h"

// The track-bar notification a slider action stands for. Qt's "add"
// actions raise the position as the track bar's "down" codes do (Right
// arrow = line down); a move is thumb tracking while the thumb is held and
// a line move otherwise (the mouse wheel).
std::optional<ScrollCode> scrollCodeOf(int action, bool thumbHeld, bool movedUp);

// The slider action of a key, as a track bar moves: Left and Up lower the
// position, Right and Down raise it, Page Up and Page Down move a page
// down and up the range, Home and End go to its ends. (Qt's own slider
// raises the position on Up and Page Up.) Nothing for other keys.
std::optional<QAbstractSlider::SliderAction> trackBarActionOf(int key);

// The size slider: horizontal, its range, steps and ticks (below the track,
// every tickFrequency from the minimum) from the description, with a
// one-pixel sunken edge. Every user move reports its track-bar code with
// the thumb's new position; releasing a dragged thumb reports the thumb
// position and then the end of the move. Placing the thumb from the program
// reports nothing.
class SizeSlider : public QSlider {
public:
    using ScrollReport = std::function<void(ScrollCode code, std::int32_t thumbPosition)>;

    SizeSlider(const SliderSettings& settings, QWidget* parent);

    void setScrollReport(ScrollReport report) { report_ = std::move(report); }
    void placeThumb(std::int32_t position);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void reportAction(int action);
    void reportRelease();

    ScrollReport report_;
};
