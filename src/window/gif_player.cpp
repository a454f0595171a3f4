#include "window/gif_player.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace {

constexpr std::chrono::milliseconds delayUnit{10};
constexpr std::chrono::milliseconds delayForZero{50};

}  // namespace

std::chrono::milliseconds frameDuration(const GifFrame& frame) {
    return frame.delay == 0 ? delayForZero : frame.delay * delayUnit;
}

// ---------------------------------------------------------------- composition

std::optional<GifComposition> GifComposition::create(const GifAnimation& animation, std::uint32_t backgroundColour) {
    std::optional<Raster> surface = Raster::create(animation.width, animation.height);
    if (!surface) return std::nullopt;
    const std::uint32_t backgroundPixel = pixelFromColour(backgroundColour);
    surface->fill(backgroundPixel);

    // One store, as large as the largest area any frame asks to have put back.
    std::int32_t savedWidth = 0;
    std::int32_t savedHeight = 0;
    for (const GifFrame& frame : animation.frames) {
        if (frame.disposal != GifDisposal::RestorePrevious) continue;
        const Area area = areaOf(frame, *surface);
        if (area.empty()) continue;
        savedWidth = std::max(savedWidth, area.width);
        savedHeight = std::max(savedHeight, area.height);
    }
    std::optional<Raster> savedArea;
    if (savedWidth > 0 && savedHeight > 0) {
        savedArea = Raster::create(savedWidth, savedHeight);
        if (!savedArea) return std::nullopt;
    }
    return GifComposition(std::move(*surface), std::move(savedArea), backgroundPixel);
}

GifComposition::Area GifComposition::areaOf(const GifFrame& frame, const Raster& surface) {
    Area area;
    area.x = std::min(frame.left, surface.width());
    area.y = std::min(frame.top, surface.height());
    area.width = std::min(frame.width, surface.width() - area.x);
    area.height = std::min(frame.height, surface.height() - area.y);
    return area;
}

void GifComposition::draw(const GifFrame& frame) {
    disposePrevious();
    const Area area = areaOf(frame, surface_);
    if (frame.disposal == GifDisposal::RestorePrevious && !area.empty()) saveArea(area);
    drawGifFrame(frame, surface_);
    previousArea_ = area;
    previousDisposal_ = frame.disposal;
}

// After the last frame the first one follows on the same surface: the last
// frame's disposal applies, and nothing else is cleared.
void GifComposition::disposePrevious() {
    switch (previousDisposal_) {
    case GifDisposal::RestoreBackground: fillArea(previousArea_); break;
    case GifDisposal::RestorePrevious:
        if (!previousArea_.empty()) restoreSavedArea(previousArea_);
        break;
    case GifDisposal::Keep: break;
    }
}

void GifComposition::fillArea(const Area& area) {
    for (std::int32_t y = area.y; y < area.y + area.height; ++y) {
        std::fill_n(surface_.row(y) + area.x, area.width, backgroundPixel_);
    }
}

// The saved area lies at the store's top left.
void GifComposition::saveArea(const Area& area) {
    const auto rowBytes = static_cast<std::size_t>(area.width) * sizeof(std::uint32_t);
    for (std::int32_t y = 0; y < area.height; ++y) {
        std::memcpy(savedArea_->row(y), surface_.row(area.y + y) + area.x, rowBytes);
    }
}

void GifComposition::restoreSavedArea(const Area& area) {
    const auto rowBytes = static_cast<std::size_t>(area.width) * sizeof(std::uint32_t);
    for (std::int32_t y = 0; y < area.height; ++y) {
        std::memcpy(surface_.row(area.y + y) + area.x, savedArea_->row(y), rowBytes);
    }
}

// ---------------------------------------------------------------- player

std::unique_ptr<GifPlayer> GifPlayer::create(Bytes gif, std::uint32_t backgroundColour, FrameDrawn frameDrawn) {
    // The frames point into the bytes' block, which moving the bytes keeps.
    std::optional<GifAnimation> animation = readGifFrames(gif.view());
    if (!animation) return nullptr;
    std::optional<GifComposition> composition = GifComposition::create(*animation, backgroundColour);
    if (!composition) return nullptr;
    // The first frame is on the surface from the start, so the first paint
    // shows it and a one-frame animation needs no thread at all.
    composition->draw(animation->frames.front());
    return std::unique_ptr<GifPlayer>(
        new GifPlayer(std::move(gif), std::move(*animation), std::move(*composition), std::move(frameDrawn)));
}

GifPlayer::~GifPlayer() { stop(); }

void GifPlayer::start() {
    if (thread_.joinable() || animation_.frames.size() < 2) return;
    {
        const std::lock_guard<std::mutex> lock(stopLock_);
        if (stopRequested_) return;
    }
    // A thread the system refuses leaves the first frame standing still.
    try {
        thread_ = std::thread(&GifPlayer::run, this);
    } catch (const std::system_error&) {
    }
}

void GifPlayer::stop() {
    {
        const std::lock_guard<std::mutex> lock(stopLock_);
        stopRequested_ = true;
    }
    stopSignal_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void GifPlayer::drawSurface(Raster& target, std::int32_t x, std::int32_t y, std::int32_t width,
                            std::int32_t height, StretchQuality quality) {
    const std::lock_guard<std::mutex> lock(surfaceLock_);
    stretchDraw(RasterRows(composition_.surface()), target, x, y, width, height, quality);
}

void GifPlayer::run() {
    std::size_t shown = 0;  // the first frame was drawn by create
    while (waitUnlessStopped(frameDuration(animation_.frames[shown]))) {
        shown = (shown + 1) % animation_.frames.size();
        {
            const std::lock_guard<std::mutex> lock(surfaceLock_);
            composition_.draw(animation_.frames[shown]);
        }
        if (frameDrawn_) frameDrawn_();
    }
}

bool GifPlayer::waitUnlessStopped(std::chrono::milliseconds delay) {
    std::unique_lock<std::mutex> lock(stopLock_);
    return !stopSignal_.wait_for(lock, delay, [this] { return stopRequested_; });
}
