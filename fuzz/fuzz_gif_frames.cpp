// Any bytes through the animation's frame reader, then every frame composed
// on the surface in turn, once round and on to the first frame again, so
// the disposal of the last frame meets the first. No thread: the
// composition is what the player's thread repeats.

#include <cstddef>
#include <cstdint>

#include "window/gif_frames.h"
#include "window/gif_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::optional<GifAnimation> animation = readGifFrames(ByteView{data, size});
    if (!animation) return 0;
    std::optional<GifComposition> composition = GifComposition::create(*animation, 0x0080E000);
    if (!composition) return 0;
    for (const GifFrame& frame : animation->frames) composition->draw(frame);
    composition->draw(animation->frames.front());
    return 0;
}
