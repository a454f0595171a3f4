#pragma once

// The frames of a GIF animation, for the picture box's player: where each
// frame lies on the logical screen, how long it stays and what becomes of
// its area before the next one is drawn.
//
// Frames are indexed up front but decoded only when drawn: each frame's code
// stream is checked once while the file is walked, then left compressed in
// the file's bytes and decompressed straight onto the player's surface
// every time its turn comes. An animation therefore costs its compressed
// file plus one screen-sized surface, however many frames it holds; keeping
// decoded frames would cost a byte a pixel for every frame.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "app/byte_view.h"
#include "imaging/limits.h"
#include "imaging/raster.h"

// What becomes of a frame's area before the next frame is drawn.
enum class GifDisposal {
    Keep,               // left as drawn (methods 0 and 1, and the undefined 4 to 7)
    RestoreBackground,  // filled with the background (method 2)
    RestorePrevious,    // put back as it was before the frame (method 3)
};

// One frame. The views point into the file's bytes, which must outlive it.
struct GifFrame {
    std::int32_t left = 0;  // on the logical screen; parts beyond it are cut off
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool interlaced = false;
    ByteView colourTable;  // red, green, blue triples: the local table, else the global one; may be empty
    ByteView imageData;    // the minimum code size byte and the data sub-blocks
    std::uint16_t delay = 0;  // hundredths of a second
    std::optional<std::uint8_t> transparentIndex;
    GifDisposal disposal = GifDisposal::Keep;
};

struct GifAnimation {
    std::int32_t width = 0;  // the logical screen
    std::int32_t height = 0;
    std::vector<GifFrame> frames;  // never empty
};

// Limits on what one animation may ask for. The frame count keeps the index
// small: a frame takes a dozen bytes of file but some sixty of index. The
// pixel limit bounds the work of one round through all frames: together the
// frames may not hold more pixels than the largest still picture.
inline constexpr std::size_t maxGifFrames = 16384;
inline constexpr std::int64_t maxGifAnimationPixels = maxPicturePixels;

// Indexes the frames of a GIF file, checking each frame's code stream on the
// way. A frame that is malformed or beyond the limits ends the animation
// with the frames before it; none when the header is refused (as for the
// still picture) or the first frame is already unusable.
std::optional<GifAnimation> readGifFrames(ByteView data);

// Decompresses frame onto surface (the logical screen) at its place. Pixels
// of its transparent index, pixels beyond the surface and pixels its data
// never reaches are left as they are; an index beyond the colour table
// draws black.
void drawGifFrame(const GifFrame& frame, Raster& surface);
