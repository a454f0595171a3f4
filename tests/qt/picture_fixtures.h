#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <vector>

#include "support/bmp_icon_files.h"
#include "support/gif_pcx_files.h"

// Picture files for the front end's tests, made in code and written into
// a fresh temporary folder that goes away with the fixture.
class PictureFolder {
public:
    PictureFolder();

    bool valid() const { return folder_.isValid(); }
    QString path(const QString& name) const { return folder_.filePath(name); }
    // Writes bytes as the file name; the path written.
    QString write(const QString& name, const std::vector<std::uint8_t>& bytes) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir folder_;
};

using bmp_icon_files::solidBitmap;
using gif_pcx_files::twoFrameGif;

// The width and height written in a bitmap file's header; -1 when the
// bytes hold none.
int bitmapWidth(const QByteArray& file);
int bitmapHeight(const QByteArray& file);
