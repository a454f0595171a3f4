#include "picture_fixtures.h"

#include <QDir>
#include <QFile>

namespace {

int headerNumber(const QByteArray& file, int offset) {
    if (file.size() < offset + 4 || !file.startsWith("BM")) return -1;
    const auto byte = [&](int i) { return static_cast<std::uint32_t>(static_cast<std::uint8_t>(file[offset + i])); };
    return static_cast<std::int32_t>(byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24);
}

}  // namespace

PictureFolder::PictureFolder() = default;

QString PictureFolder::write(const QString& name, const std::vector<std::uint8_t>& bytes) const {
    const QString where = path(name);
    QFile file(where);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    }
    return where;
}

QByteArray PictureFolder::read(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int bitmapWidth(const QByteArray& file) { return headerNumber(file, 18); }
int bitmapHeight(const QByteArray& file) { return headerNumber(file, 22); }
