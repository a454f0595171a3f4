// Icons are drawn in two steps: the colour (and, for mask icons, the mask)
// is first scaled to the drawn size, then each visible target pixel is
// combined with it.

#include "imaging/icon_drawing.h"

#include <algorithm>
#include <optional>

namespace {

// The icon's colour as raster pixels with alpha in the top byte. Alpha
// icons come premultiplied: a smoothing stretch then weights each colour by
// its opacity, so the colour of fully transparent pixels cannot bleed into
// their neighbours.
class ColourRows : public RowSource {
public:
    explicit ColourRows(const IconImage& icon) : icon_(icon) {}
    std::int32_t width() const override { return icon_.width; }
    std::int32_t height() const override { return icon_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::uint8_t* pixel = icon_.colour.data() + (static_cast<std::size_t>(y) * icon_.width + from) * 4;
        for (std::int32_t x = 0; x < count; ++x, pixel += 4) {
            const std::uint32_t alpha = pixel[3];
            if (icon_.hasAlpha) {
                out[x] = alpha << 24 | premultiply(pixel[2], alpha) << 16 | premultiply(pixel[1], alpha) << 8 |
                         premultiply(pixel[0], alpha);
            } else {
                out[x] = alpha << 24 | pixelFromBgr(pixel[0], pixel[1], pixel[2]);
            }
        }
    }

private:
    static std::uint32_t premultiply(std::uint32_t channel, std::uint32_t alpha) {
        return (channel * alpha + 127) / 255;
    }

    const IconImage& icon_;
};

// The AND mask as pixels of 0 and 1.
class MaskRows : public RowSource {
public:
    explicit MaskRows(const IconImage& icon) : icon_(icon) {}
    std::int32_t width() const override { return icon_.width; }
    std::int32_t height() const override { return icon_.height; }
    void fetchRow(std::int32_t y, std::int32_t from, std::int32_t count, std::uint32_t* out) const override {
        const std::uint8_t* mask = icon_.mask.data() + static_cast<std::size_t>(y) * icon_.width + from;
        for (std::int32_t x = 0; x < count; ++x) out[x] = mask[x] != 0 ? 1 : 0;
    }

private:
    const IconImage& icon_;
};

constexpr std::uint32_t colourBits = 0x00FFFFFF;

// A premultiplied source pixel over an opaque target pixel.
std::uint32_t blendOver(std::uint32_t source, std::uint32_t target) {
    const std::uint32_t transparency = 255 - (source >> 24);
    std::uint32_t result = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t channel =
            ((source >> shift) & 0xFF) + (((target >> shift) & 0xFF) * transparency + 127) / 255;
        result |= std::min<std::uint32_t>(channel, 255) << shift;
    }
    return result;
}

// Where the mask is set the target shows through, combined with the colour
// by exclusive or; elsewhere the colour replaces it.
std::uint32_t applyMask(std::uint32_t colour, std::uint32_t mask, std::uint32_t target) {
    return mask != 0 ? target ^ (colour & colourBits) : colour & colourBits;
}

bool hasUsablePixels(const IconImage& icon) {
    if (icon.width <= 0 || icon.height <= 0) return false;
    const std::uint64_t pixels = static_cast<std::uint64_t>(icon.width) * static_cast<std::uint64_t>(icon.height);
    return icon.colour.size() >= pixels * 4 && (icon.hasAlpha || icon.mask.size() >= pixels);
}

}  // namespace

void drawIcon(const IconImage& icon, Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
              std::int32_t height, StretchQuality quality) {
    if (!hasUsablePixels(icon)) return;
    if (width <= 0) width = icon.width;
    if (height <= 0) height = icon.height;
    const std::int64_t left = std::max<std::int64_t>(x, 0);
    const std::int64_t top = std::max<std::int64_t>(y, 0);
    const std::int64_t right = std::min<std::int64_t>(std::int64_t(x) + width, target.width());
    const std::int64_t bottom = std::min<std::int64_t>(std::int64_t(y) + height, target.height());
    if (left >= right || top >= bottom) return;

    const std::optional<Raster> colour = stretchToSize(ColourRows(icon), width, height, quality);
    // The mask is scaled by the nearest pixel whatever the quality: it says
    // which of two ways a pixel is drawn, and an average of those has no
    // meaning. Repeating and dropping whole mask pixels keeps the shape of
    // the see-through area, its edges only as fine as the drawn size allows.
    std::optional<Raster> mask;
    if (!icon.hasAlpha) mask = stretchToSize(MaskRows(icon), width, height, StretchQuality::Nearest);
    if (!colour || (!icon.hasAlpha && !mask)) return;

    for (auto row = static_cast<std::int32_t>(top); row < bottom; ++row) {
        const std::uint32_t* source = colour->row(static_cast<std::int32_t>(row - y));
        const std::uint32_t* masked = mask ? mask->row(static_cast<std::int32_t>(row - y)) : nullptr;
        std::uint32_t* out = target.row(row);
        for (auto column = static_cast<std::int32_t>(left); column < right; ++column) {
            const auto i = static_cast<std::size_t>(std::int64_t(column) - x);
            out[column] = masked ? applyMask(source[i], masked[i], out[column]) : blendOver(source[i], out[column]);
        }
    }
}
