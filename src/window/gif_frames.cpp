#include "window/gif_frames.h"

#include <algorithm>
#include <cstring>

#include "imaging/byte_reader.h"
#include "imaging/decoders/lzw.h"

namespace {

constexpr std::size_t screenDescriptorEnd = 13;

constexpr std::uint8_t extensionIntroducer = 0x21;
constexpr std::uint8_t imageSeparator = 0x2C;

constexpr std::uint8_t graphicControlLabel = 0xF9;
constexpr std::uint8_t plainTextLabel = 0x01;
constexpr std::uint8_t commentLabel = 0xFE;
constexpr std::uint8_t applicationLabel = 0xFF;

constexpr std::uint8_t hasColourTable = 0x80;
constexpr std::uint8_t isInterlaced = 0x40;
constexpr std::uint8_t hasTransparentIndex = 0x01;

struct Screen {
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    ByteView colourTable;
};

// The graphic control values that apply to the next frame.
struct FrameControl {
    std::uint16_t delay = 0;
    std::optional<std::uint8_t> transparentIndex;
    GifDisposal disposal = GifDisposal::Keep;
};

bool hasSignature(ByteView data) {
    static constexpr std::uint8_t gif8[4] = {0x47, 0x49, 0x46, 0x38};
    return std::memcmp(data.data, gif8, 4) == 0 && (data.data[4] == 0x37 || data.data[4] == 0x39) &&
           data.data[5] == 0x61;
}

ByteView readColourTable(ByteReader& reader, std::uint8_t flags) {
    if ((flags & hasColourTable) == 0) return {};
    const std::size_t entries = std::size_t(1) << ((flags & 7) + 1);
    return reader.bytes(3 * entries);
}

// The header is taken or refused exactly as for the still picture.
std::optional<Screen> readScreen(ByteView data, ByteReader& reader) {
    if (data.size <= screenDescriptorEnd || !hasSignature(data)) return std::nullopt;
    reader.seek(6);
    Screen screen;
    screen.width = reader.u16();
    screen.height = reader.u16();
    const std::uint8_t flags = reader.u8();
    reader.skip(2);  // background colour index and aspect ratio
    screen.colourTable = readColourTable(reader, flags);
    if (!reader.ok() || reader.atEnd()) return std::nullopt;
    if (!isAcceptedPictureSize(screen.width, screen.height)) return std::nullopt;
    return screen;
}

bool skipSubBlocks(ByteReader& reader) {
    for (std::uint8_t length = reader.u8(); length != 0 && reader.ok(); length = reader.u8()) {
        reader.skip(length);
    }
    return reader.ok();
}

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

// The fixed bytes before the sub-blocks of the extensions that carry
// nothing for the animation; none for a label the still picture's decoder
// refuses too.
std::optional<std::size_t> skippedHeaderSize(std::uint8_t label) {
    switch (label) {
    case plainTextLabel: return 13;
    case commentLabel: return 0;
    case applicationLabel: return 12;
    default: return std::nullopt;
    }
}

// Reads one extension; a graphic control block replaces control. False for
// an unknown label or a chain that runs past the data.
bool readExtension(ByteReader& reader, FrameControl& control) {
    const std::uint8_t label = reader.u8();
    if (!reader.ok()) return false;
    if (label == graphicControlLabel) {
        control = readGraphicControl(reader);
        return skipSubBlocks(reader);
    }
    const std::optional<std::size_t> headerSize = skippedHeaderSize(label);
    if (!headerSize) return false;
    reader.skip(*headerSize);
    return skipSubBlocks(reader);
}

// Walks to the next image separator, collecting the graphic control values
// on the way; none at the trailer, the end of the data or anything
// malformed.
std::optional<FrameControl> findNextImage(ByteReader& reader) {
    FrameControl control;
    for (;;) {
        const std::uint8_t introducer = reader.u8();
        if (!reader.ok()) return std::nullopt;
        if (introducer == imageSeparator) return control;
        if (introducer != extensionIntroducer || !readExtension(reader, control)) return std::nullopt;
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
          passes_(frame.interlaced ? interlacedPasses : straightPass),
          passCount_(frame.interlaced ? 4 : 1),
          transparent_(frame.transparentIndex ? *frame.transparentIndex : noTransparentIndex) {
        if (surface_ != nullptr) fillColours(frame.colourTable);
    }

    bool take(const std::uint8_t* indices, std::size_t count) override {
        const auto width = static_cast<std::size_t>(frame_.width);
        while (count > 0 && !full_) {
            const std::size_t n = std::min(count, width - x_);
            if (surface_ != nullptr) drawRun(indices, n);
            indices += n;
            count -= n;
            x_ += n;
            if (x_ == width) nextRow();
        }
        return !full_;
    }

private:
    struct Pass {
        std::int32_t firstRow;
        std::int32_t step;
    };
    static constexpr Pass interlacedPasses[4] = {{0, 8}, {4, 8}, {2, 4}, {1, 2}};
    static constexpr Pass straightPass[1] = {{0, 1}};
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
        const std::int32_t screenY = frame_.top + y_;
        const auto screenX = static_cast<std::int32_t>(frame_.left + x_);
        if (screenY >= surface_->height() || screenX >= surface_->width()) return;
        const std::size_t visible = std::min(count, static_cast<std::size_t>(surface_->width() - screenX));
        std::uint32_t* out = surface_->row(screenY) + screenX;
        for (std::size_t i = 0; i < visible; ++i) {
            if (indices[i] != transparent_) out[i] = colours_[indices[i]];
        }
    }

    void nextRow() {
        x_ = 0;
        y_ += passes_[pass_].step;
        while (y_ >= frame_.height) {
            if (++pass_ == passCount_) {
                full_ = true;
                return;
            }
            y_ = passes_[pass_].firstRow;
        }
    }

    const GifFrame& frame_;
    Raster* surface_;
    const Pass* passes_;
    int passCount_;
    int transparent_;
    std::uint32_t colours_[256] = {};
    int pass_ = 0;
    std::int32_t y_ = 0;
    std::size_t x_ = 0;
    bool full_ = false;
};

// Feeds a frame's data sub-blocks to the LZW decoder and leaves the reader
// after the chain's terminator; false only for a broken code stream. As
// for the still picture, the end of the data ends the frame like the end
// code does, even inside a sub-block.
bool decodeImageData(ByteReader& reader, LzwSink& sink) {
    const std::uint8_t minimumCodeSize = reader.u8();
    if (!reader.ok()) return true;
    LzwDecoder lzw(minimumCodeSize);
    for (std::uint8_t length = reader.u8(); length != 0 && reader.ok(); length = reader.u8()) {
        const ByteView piece = reader.bytes(std::min<std::size_t>(length, reader.remaining()));
        lzw.feed(piece, sink);  // once decoding has ended, the rest of the chain is only skipped
    }
    return lzw.state() != LzwDecoder::State::Broken;
}

// The image descriptor after its separator, with the table the frame uses.
std::optional<GifFrame> readImageDescriptor(ByteReader& reader, const Screen& screen) {
    GifFrame frame;
    frame.left = reader.u16();
    frame.top = reader.u16();
    frame.width = reader.u16();
    frame.height = reader.u16();
    const std::uint8_t flags = reader.u8();
    frame.interlaced = (flags & isInterlaced) != 0;
    const ByteView localTable = readColourTable(reader, flags);
    if (!reader.ok()) return std::nullopt;
    frame.colourTable = localTable.empty() ? screen.colourTable : localTable;
    return frame;
}

// The next frame, its code stream checked; none when there is no further
// usable frame. pixelsLeft is what the limit still allows and shrinks by
// the frame's size.
std::optional<GifFrame> readNextFrame(ByteView data, ByteReader& reader, const Screen& screen,
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
    if (!decodeImageData(reader, check)) return std::nullopt;
    frame->imageData = ByteView{data.data + start, reader.position() - start};
    return frame;
}

}  // namespace

std::optional<GifAnimation> readGifFrames(ByteView data) {
    ByteReader reader(data);
    const std::optional<Screen> screen = readScreen(data, reader);
    if (!screen) return std::nullopt;
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
    decodeImageData(reader, pixels);
}
