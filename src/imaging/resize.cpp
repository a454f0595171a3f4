#include "imaging/resize.h"

#include "app/working_state.h"
#include "imaging/canvas.h"
#include "imaging/picture.h"

bool resizeToSquare(const Text& sourcePath, std::int32_t edge) {
    const PictureHandle handle = loadPicture(sourcePath);
    WorkCanvas& canvas = workCanvas();
    canvas.setSize(edge, edge);
    // A square too large for a file image would be drawn for nothing.
    if (canvas.canCapture(edge, edge)) {
        // Every square starts from a clean surface, so nothing of an earlier
        // square shows through a picture that cannot be loaded or is transparent.
        canvas.clear();
        canvas.drawPicture(handle, 0, 0, edge, edge);
    }
    replaceOutputImage(canvas.capture(edge, edge));
    releasePicture(handle);
    return handle != 0;
}
