#pragma once

// The picture box's GIF player: a retained surface of the logical screen on
// which the frames are composed one after another, and the thread that
// moves on to the next frame when a frame's delay has passed.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "app/bytes.h"
#include "imaging/raster.h"
#include "imaging/stretch.h"
#include "window/gif_frames.h"

// The surface of an animation and the frames composed on it, without any
// timing: each draw first disposes of the previous frame's area as that
// frame asked, then draws the new frame over what the surface shows.
class GifComposition {
public:
    // A surface of the animation's logical screen filled with background
    // (0x00BBGGRR), nothing drawn yet; none when it, or the store for areas
    // that frames ask to have put back, cannot be had.
    static std::optional<GifComposition> create(const GifAnimation& animation, std::uint32_t backgroundColour);

    void draw(const GifFrame& frame);
    const Raster& surface() const { return surface_; }

private:
    // A frame's area on the surface, cut to the surface; empty for a frame
    // that lies wholly beyond it.
    struct Area {
        std::int32_t x = 0;
        std::int32_t y = 0;
        std::int32_t width = 0;
        std::int32_t height = 0;

        bool empty() const { return width == 0 || height == 0; }
    };

    GifComposition(Raster surface, std::optional<Raster> savedArea, std::uint32_t backgroundPixel)
        : surface_(std::move(surface)), savedArea_(std::move(savedArea)), backgroundPixel_(backgroundPixel) {}

    static Area areaOf(const GifFrame& frame, const Raster& surface);
    void disposePrevious();
    void fillArea(const Area& area);
    void saveArea(const Area& area);
    void restoreSavedArea(const Area& area);

    Raster surface_;
    std::optional<Raster> savedArea_;  // only when some frame asks for RestorePrevious
    std::uint32_t backgroundPixel_;
    Area previousArea_;
    GifDisposal previousDisposal_ = GifDisposal::Keep;
};

// Plays an animation: the first frame is drawn when the player is made; a
// thread, started by start(), draws each further frame when the delay of
// the one before has passed, going back to the first after the last, until
// stop(). An animation of one frame is shown still and starts no thread.
//
// Drawing on the surface, by the thread or by drawSurface, takes one lock,
// so the box's painting and the thread take turns.
class GifPlayer {
public:
    // Called on the player's thread after each frame drawn there. It must
    // only ask for a repaint; waiting for the thread that stops the player
    // would never end.
    using FrameDrawn = std::function<void()>;

    // Takes the bytes of a GIF file; null when they hold no frame to show or
    // the surface cannot be had.
    static std::unique_ptr<GifPlayer> create(Bytes gif, std::uint32_t backgroundColour, FrameDrawn frameDrawn);

    GifPlayer(const GifPlayer&) = delete;
    GifPlayer& operator=(const GifPlayer&) = delete;
    // Stops the thread and waits for its end.
    ~GifPlayer();

    std::int32_t width() const { return animation_.width; }
    std::int32_t height() const { return animation_.height; }
    std::size_t frameCount() const { return animation_.frames.size(); }

    // Starts the thread once, when there is more than one frame; nothing
    // after stop().
    void start();
    // Asks the thread to end, wakes it from its wait and waits until it has
    // ended. When this returns, no frame is being drawn or will be.
    void stop();
    // Whether the thread has been started and not yet stopped.
    bool isAnimating() const { return thread_.joinable(); }

    // Stretches the surface onto the rectangle at x, y of target.
    void drawSurface(Raster& target, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                     StretchQuality quality);

private:
    GifPlayer(Bytes gif, GifAnimation animation, GifComposition composition, FrameDrawn frameDrawn)
        : gif_(std::move(gif)),
          animation_(std::move(animation)),
          composition_(std::move(composition)),
          frameDrawn_(std::move(frameDrawn)) {}

    void run();
    // Waits for delay; false when asked to stop meanwhile.
    bool waitUnlessStopped(std::chrono::milliseconds delay);

    Bytes gif_;  // the frames point into it
    GifAnimation animation_;

    std::mutex surfaceLock_;
    GifComposition composition_;  // guarded by surfaceLock_

    FrameDrawn frameDrawn_;

    std::mutex stopLock_;
    std::condition_variable stopSignal_;
    bool stopRequested_ = false;  // guarded by stopLock_

    std::thread thread_;
};

// How long a frame stays: its delay in hundredths of a second, or 50
// milliseconds for a delay of 0.
std::chrono::milliseconds frameDuration(const GifFrame& frame);
