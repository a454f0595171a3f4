#include "window/picture_box.h"

#include <algorithm>
#include <utility>

#include "app/bytes.h"
#include "imaging/render_picture.h"
#include "imaging/stretch.h"

namespace {

constexpr std::size_t gifSignatureLength = 8;

// Recognised as the decoders recognise pictures, so that exactly the bytes
// that would decode as a still GIF go to the player instead.
bool isGif(ByteView bytes) {
    return bytes.size >= gifSignatureLength &&
           detectPictureKind({bytes.data, gifSignatureLength}) == PictureKind::Gif;
}

}  // namespace

Placement fitPlacement(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t pictureWidth,
                       std::int32_t pictureHeight) {
    Placement place{0, 0, clientWidth, clientHeight};
    if (pictureWidth <= clientWidth) {
        place.x = (clientWidth - pictureWidth) / 2;
        place.width = pictureWidth;
    }
    if (pictureHeight <= clientHeight) {
        place.y = (clientHeight - pictureHeight) / 2;
        place.height = pictureHeight;
    }
    if (pictureWidth <= place.width && pictureHeight <= place.height) return place;

    const double scale = std::min(static_cast<double>(place.width) / pictureWidth,
                                  static_cast<double>(place.height) / pictureHeight);
    const auto drawnWidth = static_cast<std::int32_t>(pictureWidth * scale);
    const auto drawnHeight = static_cast<std::int32_t>(pictureHeight * scale);
    place.x += (place.width - drawnWidth) / 2;
    place.y += (place.height - drawnHeight) / 2;
    place.width = drawnWidth;
    place.height = drawnHeight;
    return place;
}

// The player goes first: its thread must have ended before the box is gone.
PictureBox::~PictureBox() { player_.reset(); }

void PictureBox::setRepaintRequest(RepaintRequest request) {
    const std::lock_guard<std::mutex> lock(repaintLock_);
    repaintRequest_ = std::move(request);
}

void PictureBox::setPicture(ByteView bytes) {
    // Resetting the player stops its thread and waits for its end before
    // the player's bytes and surface go.
    player_.reset();
    picture_.reset();
    if (isGif(bytes)) {
        player_ = GifPlayer::create(Bytes::copyOf(bytes), backgroundColour, [this] { requestRepaint(); });
    } else if (!bytes.empty()) {
        // The decoded picture keeps all it shows; the bytes are not needed
        // after decoding, so no copy of them is kept.
        picture_ = decodePicture(bytes);
    }
    requestRepaint();
}

void PictureBox::paint(Raster& client) {
    client.fill(pixelFromColour(backgroundColour));
    if (picture_) {
        paintPicture(client, fitPlacement(client.width(), client.height(), picture_->width, picture_->height));
    } else if (player_) {
        paintAnimation(client, fitPlacement(client.width(), client.height(), player_->width(), player_->height()));
    }
}

void PictureBox::paintPicture(Raster& client, const Placement& place) {
    // Two-colour pictures take the surface's default colours.
    Surface surface{client};
    renderPicture(*picture_, surface, place.x, place.y, place.width, place.height, RasterOp::Copy,
                  backgroundColour);
}

void PictureBox::paintAnimation(Raster& client, const Placement& place) {
    player_->drawSurface(client, place.x, place.y, place.width, place.height, stretchQuality());
    player_->start();
}

void PictureBox::requestRepaint() {
    RepaintRequest request;
    {
        const std::lock_guard<std::mutex> lock(repaintLock_);
        request = repaintRequest_;
    }
    if (request) request();
}
