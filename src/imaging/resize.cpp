#include "imaging/resize.h"

#include "app/working_state.h"
#include "imaging/canvas.h"
#include "imaging/picture.h"
#include "imaging/streamed_jpeg.h"
#include "platform/files.h"

namespace {

// A JPEG is drawn while it is decoded, row by row: the same pixels as
// loading it and drawing the picture, without holding the decoded picture.
// False when the source is no JPEG or the stream could not draw it; the
// surface is then clean again.
bool drawStreamedJpeg(const Text& sourcePath, WorkCanvas& canvas, std::int32_t edge) {
    if (sourcePath.empty() || edge <= 0) return false;
    const std::optional<Bytes> file = readWholeFile(sourcePath.c_str());
    if (!file || detectPictureKind(file->view()) != PictureKind::Jpeg) return false;
    StreamedJpegRows rows(file->view());
    if (!rows.start()) return false;
    canvas.drawRows(rows, 0, 0, edge, edge);
    if (rows.finish()) return true;
    canvas.clear();
    return false;
}

// Loads the picture, draws it and lets it go.
bool drawLoadedPicture(const Text& sourcePath, WorkCanvas& canvas, std::int32_t edge) {
    const PictureHandle handle = loadPicture(sourcePath);
    canvas.drawPicture(handle, 0, 0, edge, edge);
    releasePicture(handle);
    return handle != 0;
}

}  // namespace

bool resizeToSquare(const Text& sourcePath, std::int32_t edge) {
    WorkCanvas& canvas = workCanvas();
    canvas.setSize(edge, edge);
    bool drawn = false;
    // A square too large for a file image would be drawn for nothing.
    if (canvas.canCapture(edge, edge)) {
        // Every square starts from a clean surface, so nothing of an earlier
        // square shows through a picture that cannot be loaded or is transparent.
        canvas.clear();
        drawn = drawStreamedJpeg(sourcePath, canvas, edge) || drawLoadedPicture(sourcePath, canvas, edge);
    }
    replaceOutputImage(canvas.capture(edge, edge));
    return drawn;
}
