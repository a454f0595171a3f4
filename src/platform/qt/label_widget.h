#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>

#include "window/description.h"

class QFontMetrics;

// A label: fills its whole rectangle with its background, then draws its
// text in its colour, either on one line (left, vertically centred, cut off
// where it does not fit) or wrapped from the top. An ampersand is shown as
// it is: no mnemonic processing.
class LabelWidget : public QWidget {
public:
    LabelWidget(const ControlDescription& description, QWidget* parent);

    QString text() const { return text_; }
    // Marks the label for repainting; the next paint shows the new text.
    void setText(const QString& text);

    // The lines of a wrapped label: the text breaks at its line breaks
    // (CR LF, LF) and wraps at the spaces between words so that a line fits
    // width. A word wider than width keeps its line and is cut off there;
    // a run of Chinese without spaces is one word.
    static QStringList wrappedLines(const QString& text, const QFontMetrics& metrics, int width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    std::uint32_t textColour_;
    std::uint32_t background_;
    LabelLines lines_;
};
