#include "platform/qt/message_boxes.h"

#include <QMessageBox>

#include "app/gbk_messages.h"
#include "app/text.h"
#include "platform/qt/gbk_text.h"

namespace {

// Message texts break their lines with CR LF; Qt shows a lone CR as a glyph.
QString messageTextOf(const Text& text) {
    QString lines = fromGbk(text.view());
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return lines;
}

void runBox(QMessageBox::Icon icon, const QString& caption, const QString& text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace

void runMessageBox(const Text& text, const Text& caption) {
    runBox(QMessageBox::NoIcon, fromGbk(caption.view()), messageTextOf(text));
}

void runFatalBox(const Text& boxText) {
    runBox(QMessageBox::Critical, fromGbk(gbk::fatalBoxCaption), messageTextOf(boxText));
}
