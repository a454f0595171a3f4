// PNG through libpng's simplified reader: the library turns every PNG
// (any depth, palette, transparency, gamma, interlacing) into 8-bit blue,
// green, red and straight alpha, top row first. Its errors come back as a
// zero result, never as a jump through this code.

#include <cstddef>
#include <cstdint>
#include <optional>

#include <png.h>

#include "imaging/decoders/decoders.h"
#include "imaging/limits.h"

namespace {

constexpr std::size_t bytesPerPixel = 4;  // blue, green, red, alpha

// The reader's state, freed on every path. Freeing twice is harmless: the
// library clears its pointer.
class PngReader {
public:
    PngReader() {
        image_.version = PNG_IMAGE_VERSION;
        image_.opaque = nullptr;
    }
    PngReader(const PngReader&) = delete;
    PngReader& operator=(const PngReader&) = delete;
    ~PngReader() { png_image_free(&image_); }

    png_image& image() { return image_; }

private:
    png_image image_{};
};

}  // namespace

std::optional<Picture> decodePng(ByteView data) {
    PngReader reader;
    png_image& image = reader.image();
    if (png_image_begin_read_from_memory(&image, data.data, data.size) == 0) return std::nullopt;
    image.format = PNG_FORMAT_BGRA;

    if (!isAcceptedPictureSize(image.width, image.height)) return std::nullopt;
    Bytes pixels = Bytes::tryOfSize(std::size_t(image.width) * image.height * bytesPerPixel);
    if (pixels.empty()) return std::nullopt;
    // No background: the alpha channel stays; stride 0: packed rows, top row
    // first; no colour map.
    if (png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr) == 0) return std::nullopt;

    Picture picture;
    picture.kind = PictureKind::Png;
    picture.width = static_cast<std::int32_t>(image.width);
    picture.height = static_cast<std::int32_t>(image.height);
    picture.pixels = std::move(pixels);
    return picture;
}
