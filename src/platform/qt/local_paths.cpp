#include "platform/qt/local_paths.h"

#include <QByteArray>
#include <QFile>

std::string corePathOf(const QString& path) {
    const QByteArray bytes = QFile::encodeName(path);
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

QString qtPathOf(std::string_view corePath) {
    return QFile::decodeName(QByteArray(corePath.data(), static_cast<qsizetype>(corePath.size())));
}
