#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

#include "window/description.h"

// A group box: an etched frame around its controls, its title (if any)
// left-aligned on the frame's top line, its whole rectangle filled with
// its background. It is only a container: its controls are placed from its
// top-left corner.
class GroupFrame : public QWidget {
public:
    GroupFrame(const ControlDescription& description, QWidget* parent);

    QString title() const { return title_; }
    void setTitle(const QString& title);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    std::uint32_t titleColour_;
    std::uint32_t background_;
};
