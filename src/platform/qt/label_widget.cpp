#include "platform/qt/label_widget.h"

#include <QFontMetrics>
#include <QPainter>

#include "platform/qt/colours.h"
#include "platform/qt/gbk_text.h"

namespace {

// Greedy wrapping of one paragraph at its spaces.
void wrapParagraph(const QString& paragraph, const QFontMetrics& metrics, int width, QStringList& lines) {
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '))) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines.append(line);
            line = word;
        } else {
            line = longer;
        }
    }
    lines.append(line);
}

}  // namespace

LabelWidget::LabelWidget(const ControlDescription& description, QWidget* parent)
    : QWidget(parent),
      text_(fromGbk(description.text)),
      textColour_(description.textColour),
      background_(description.background),
      lines_(description.lines) {}

void LabelWidget::setText(const QString& text) {
    text_ = text;
    update();
}

QStringList LabelWidget::wrappedLines(const QString& text, const QFontMetrics& metrics, int width) {
    QString paragraphs = text;
    paragraphs.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QStringList lines;
    for (const QString& paragraph : paragraphs.split(QLatin1Char('\n'))) wrapParagraph(paragraph, metrics, width, lines);
    return lines;
}

// Wrapped lines follow each other at the height of the label's font, as
// the layout was made for, whatever fallback font draws their characters.
void LabelWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), qtColourOf(background_, palette()));
    painter.setPen(qtColourOf(textColour_, palette()));
    const QFontMetrics metrics(font());
    if (lines_ == LabelLines::OneLine) {
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text_);
        return;
    }
    int top = 0;
    for (const QString& line : wrappedLines(text_, metrics, width())) {
        painter.drawText(QRect(0, top, width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         line);
        top += metrics.height();
    }
}
