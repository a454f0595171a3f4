#include "window/gif_frames.h"

#include <algorithm>
#include <cstring>

#include "imaging/byte_reader.h"
#include "imaging/decoders/gif_structure.h"

namespace {

constexpr std::uint8_t hasTransparentIndex = 0x01;

// The graphic control values that apply to the next frame.
struct FrameControl {
    std::uint16_t delay = 0;
    std::optional<std::uint8_t> transparentIndex;
    GifDisposal disposal = GifDisposal::Keep;
};

// Methods 0 (none given) and 1 (keep) leave the frame; 4 to 7 have no
// meaning and are taken as keep too.
GifDisposal disposalOf(std::uint8_t flags) {
    switch ((flags >> 2) & 7) {
    case 2: return GifDisposal::RestoreBackground;
    case 3: return GifDisposal::RestorePrevious;
    default: return GifDisposal::Keep;
    }
}

// The block's own size byte is not trusted: its four fields are read where
// the format puts them, as the still picture's decoder skips them.
FrameControl readGraphicControl(ByteReader& reader) {
    reader.skip(1);
    const std::uint8_t flags = reader.u8();
    FrameControl control;
    control.delay = reader.u16();
    const std::uint8_t transparentIndex = reader.u8();
    if ((flags & hasTransparentIndex) != 0) control.transparentIndex = transparentIndex;
    control.disposal = disposalOf(flags);
    return control;
}

// Reads one extension; a graphic control block replaces control. False for
// an unknown label or a chain that runs past the data.
bool readExtension(ByteReader& reader, FrameControl& control) {
    const std::uint8_t label = reader.u8();
    const std::optional<std::size_t> headerSize = gif::extensionHeaderSize(label);
    if (!reader.ok() || !headerSize) return false;
    if (label == gif::graphicControlLabel) {
        control = readGraphicControl(reader);
    } else {
        reader.skip(*headerSize);
    }
    return gif::skipSubBlocks(reader);
}

// Walks to the next image separator, collecting the graphic control values
// on the way; none at the trailer, the end of the data or anything
// malformed.
std::optional<FrameControl> findNextImage(ByteReader& reader) {
    FrameControl control;
    for (;;) {
        const std::uint8_t introducer = reader.u8();
        if (!reader.ok()) return std::nullopt;
        if (introducer == gif::imageSeparator) return control;
        if (introducer != gif::extensionIntroducer || !readExtension(reader, control)) return std::nullopt;
    }
}

// Receives a frame's decoded indices in the order the file stores them and
// puts each on the surface where it belongs: row by row, in the order of
// the four interlace passes when the frame is interlaced. Without a surface
// it only follows the rows, so a frame's stream can be checked without
// drawing it. Indices after the frame's last row are dropped.
class FramePixels final : public LzwSink {
public:
    FramePixels(const GifFrame& frame, Raster* surface)
        : frame_(frame),
          surface_(surface),
          order_(frame.height, frame.interlaced),
          transparent_(frame.transparentIndex ? *frame.transparentIndex : noTransparentIndex) {
        if (surface_ != nullptr) fillColours(frame.colourTable);
    }

    bool take(const std::uint8_t* indices, std::size_t count) override {
        const auto width = static_cast<std::size_t>(frame_.width);
        while (count > 0 && !order_.done()) {
            const std::size_t n = std::min(count, width - x_);
            if (surface_ != nullptr) drawRun(indices, n);
            indices += n;
            count -= n;
            x_ += n;
            if (x_ == width) {
                x_ = 0;
                order_.next();
            }
        }
        return !order_.done();
    }

private:
    static constexpr int noTransparentIndex = -1;

    // Entries beyond the frame's table stay black.
    void fillColours(ByteView rgb) {
        for (std::size_t i = 0; i < 256 && 3 * i + 2 < rgb.size; ++i) {
            colours_[i] = pixelFromBgr(rgb.data[3 * i + 2], rgb.data[3 * i + 1], rgb.data[3 * i]);
        }
    }

    // Draws count indices of the current row from column x_ on, up to the
    // surface's right edge.
    void drawRun(const std::uint8_t* indices, std::size_t count) {
        const std::int32_t screenY = frame_.top + order_.row();
        const auto screenX = static_cast<std::int32_t>(frame_.left + x_);
        if (screenY >= surface_->height() || screenX >= surface_->width()) return;
        const std::size_t visible = std::min(count, static_cast<std::size_t>(surface_->width() - screenX));
        std::uint32_t* out = surface_->row(screenY) + screenX;
        for (std::size_t i = 0; i < visible; ++i) {
            if (indices[i] != transparent_) out[i] = colours_[indices[i]];
        }
    }

    const GifFrame& frame_;
    Raster* surface_;
    gif::RowOrder order_;
    int transparent_;
    std::uint32_t colours_[256] = {};
    std::size_t x_ = 0;
};

// The image descriptor after its separator, with the table the frame uses.
std::optional<GifFrame> readImageDescriptor(ByteReader& reader, const gif::Screen& screen) {
    const std::optional<gif::ImageDescriptor> image = gif::readImageDescriptor(reader);
    if (!image) return std::nullopt;
    GifFrame frame;
    frame.left = image->left;
    frame.top = image->top;
    frame.width = image->width;
    frame.height = image->height;
    frame.interlaced = image->interlaced;
    frame.colourTable = image->localColourTable.empty() ? screen.colourTable : image->localColourTable;
    return frame;
}

// The next frame, its code stream checked; none when there is no further
// usable frame. pixelsLeft is what the limit still allows and shrinks by
// the frame's size.
std::optional<GifFrame> readNextFrame(ByteView data, ByteReader& reader, const gif::Screen& screen,
                                      std::int64_t& pixelsLeft) {
    const std::optional<FrameControl> control = findNextImage(reader);
    if (!control) return std::nullopt;
    std::optional<GifFrame> frame = readImageDescriptor(reader, screen);
    // A frame of no pixels is refused as the still picture's first image is.
    if (!frame || !isAcceptedPictureSize(frame->width, frame->height)) return std::nullopt;
    const std::int64_t pixels = std::int64_t(frame->width) * frame->height;
    if (pixels > pixelsLeft) return std::nullopt;
    pixelsLeft -= pixels;

    frame->delay = control->delay;
    frame->transparentIndex = control->transparentIndex;
    frame->disposal = control->disposal;
    const std::size_t start = reader.position();
    FramePixels check(*frame, nullptr);
    if (!gif::decodeImageData(reader, check)) return std::nullopt;
    frame->imageData = ByteView{data.data + start, reader.position() - start};
    return frame;
}

}  // namespace

std::optional<GifAnimation> readGifFrames(ByteView data) {
    ByteReader reader(data);
    const std::optional<gif::Screen> screen = gif::readScreen(data, reader);
    // The screen is taken or refused exactly as for the still picture.
    if (!screen || !isAcceptedPictureSize(screen->width, screen->height)) return std::nullopt;
    GifAnimation animation;
    animation.width = screen->width;
    animation.height = screen->height;
    std::int64_t pixelsLeft = maxGifAnimationPixels;
    while (animation.frames.size() < maxGifFrames) {
        std::optional<GifFrame> frame = readNextFrame(data, reader, *screen, pixelsLeft);
        if (!frame) break;
        animation.frames.push_back(*frame);
    }
    if (animation.frames.empty()) return std::nullopt;
    return animation;
}

void drawGifFrame(const GifFrame& frame, Raster& surface) {
    ByteReader reader(frame.imageData);
    FramePixels pixels(frame, &surface);
    gif::decodeImageData(reader, pixels);
}
