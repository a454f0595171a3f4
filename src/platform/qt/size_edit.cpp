#include "platform/qt/size_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPalette>

#include "platform/qt/sunken_edge.h"

namespace {

bool isAcceptedCharacter(QChar character) {
    return character.unicode() < 32 || character == QLatin1Char('-') ||
           (character >= QLatin1Char('0') && character <= QLatin1Char('9'));
}

}  // namespace

SizeEdit::SizeEdit(QWidget* parent) : QLineEdit(parent) {
    setFrame(false);
    setTextMargins(1, 1, 1, 1);
    setAlignment(Qt::AlignCenter);
    setAcceptDrops(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::black);
    colours.setColor(QPalette::Base, Qt::white);
    setPalette(colours);
}

QString SizeEdit::acceptedTyping(const QString& typed) {
    QString kept;
    for (QChar character : typed) {
        if (isAcceptedCharacter(character)) kept.append(character);
    }
    return kept;
}

void SizeEdit::keyPressEvent(QKeyEvent* event) {
    const QString typed = event->text();
    const QString kept = acceptedTyping(typed);
    // Keys without text (arrows), accepted characters and Ctrl shortcuts
    // (control characters where the platform spells them so, the clipboard
    // keys among them) go to the box as they are; refused characters are
    // dropped without a sound.
    const bool shortcut = event->modifiers().testFlag(Qt::ControlModifier) &&
                          !event->modifiers().testFlag(Qt::AltModifier);
    if (kept == typed || shortcut) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (!kept.isEmpty()) insert(kept);
    event->accept();
}

void SizeEdit::inputMethodEvent(QInputMethodEvent* event) {
    const QString kept = acceptedTyping(event->commitString());
    if (kept == event->commitString()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(kept, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->accept();
}

void SizeEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    drawSunkenEdge(painter, rect(), palette());
}
