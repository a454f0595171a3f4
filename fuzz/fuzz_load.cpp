// Any bytes through detection, the matching decoder and drawing, at the
// picture's own size and stretched both ways, so the row readers of every
// kind meet whatever a decoder let through.

#include <cstddef>
#include <cstdint>

#include "imaging/picture.h"
#include "imaging/render_picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PictureHandle handle = loadPicture(ByteView{data, size});
    const Picture* picture = registeredPicture(handle);
    if (picture == nullptr) return 0;
    Raster raster = *Raster::create(24, 24);
    Surface surface{raster, 0x000000, 0xFFFFFF};
    renderPicture(*picture, surface, 0, 0, ownSize, ownSize, RasterOp::Copy, 0xFFFFFF);
    renderPicture(*picture, surface, 20, 3, -17, 9, RasterOp::Xor, 0x00FF00);
    releasePicture(handle);
    return 0;
}
