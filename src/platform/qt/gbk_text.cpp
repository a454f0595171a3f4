#include "platform/qt/gbk_text.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

QString fromGbk(std::string_view gbk) {
    QStringDecoder decoder("GBK");
    return decoder.decode(QByteArrayView(gbk.data(), static_cast<qsizetype>(gbk.size())));
}

std::string toGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    const QByteArray bytes = encoder.encode(text);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}
