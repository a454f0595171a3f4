// Feeds arbitrary bytes to the icon and cursor decoder, and draws what it
// makes, scaled both ways, so the icon object's invariants are exercised too.

#include <cstddef>
#include <cstdint>
#include <optional>

#include "imaging/decoders/decoders.h"
#include "imaging/icon_drawing.h"
#include "imaging/raster.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<Picture> picture = decodeIconFile(ByteView{data, size});
    if (!picture || !picture->icon) return 0;
    std::optional<Raster> target = Raster::create(24, 24);
    if (!target) return 0;
    drawIcon(*picture->icon, *target, -3, 2, 0, 0, StretchQuality::Nearest);
    drawIcon(*picture->icon, *target, 1, -1, 19, 7, StretchQuality::Smooth);
    return 0;
}
