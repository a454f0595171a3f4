#include "picture_fixtures.h"

#include <QDir>
#include <QFile>

#include "support/bmp_icon_files.h"
#include "support/gif_pcx_files.h"

namespace {

gif_pcx_files::Rgb rgbOf(std::uint32_t rgb) {
    return {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
            static_cast<std::uint8_t>(rgb)};
}

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

std::vector<std::uint8_t> twoFrameGif(int width, int height, std::uint32_t firstRgb, std::uint32_t secondRgb,
                                      int delay) {
    using namespace gif_pcx_files;
    const auto w = static_cast<std::uint16_t>(width);
    const auto h = static_cast<std::uint16_t>(height);
    const ByteVector pixels(static_cast<std::size_t>(width) * height, 0);
    GifWriter writer(w, h, {rgbOf(firstRgb), rgbOf(secondRgb)});
    writer.application();
    FrameControl control;
    control.delay = static_cast<std::uint16_t>(delay);
    GifImage first{0, 0, w, h, pixels, {}, false, 0, {}};
    GifImage second = first;
    second.indices.assign(pixels.size(), 1);
    writer.frameControl(control).image(first).frameControl(control).image(second).trailer();
    return writer.bytes();
}

int bitmapWidth(const QByteArray& file) { return headerNumber(file, 18); }
int bitmapHeight(const QByteArray& file) { return headerNumber(file, 22); }
