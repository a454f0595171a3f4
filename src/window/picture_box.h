#pragma once

// The preview picture box: a 420 x 420 control with a one-pixel sunken
// edge, so a 418 x 418 client area on a green background. It shows the
// picture its bytes hold, fitted into the client area and never enlarged,
// and plays a GIF's frames. It paints itself into a raster that a front end
// puts on the screen.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "app/byte_view.h"
#include "imaging/picture.h"
#include "imaging/raster.h"
#include "window/gif_player.h"

// Where a picture is drawn in the client area and at what size.
struct Placement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;

    bool operator==(const Placement& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// Fits a pictureWidth x pictureHeight picture into a client area: centred,
// at its own size when it fits, else scaled down by one factor for both
// directions, computed in floating point, the drawn sizes truncated.
Placement fitPlacement(std::int32_t clientWidth, std::int32_t clientHeight, std::int32_t pictureWidth,
                       std::int32_t pictureHeight);

class PictureBox {
public:
    static constexpr std::int32_t outerSize = 420;
    static constexpr std::int32_t clientSize = outerSize - 2;
    static constexpr std::uint32_t backgroundColour = 0x0080E000;  // 0x00BBGGRR: red 0, green 224, blue 128

    // Asks the front end to repaint the box. It may be called on the
    // animation thread, and must then only ask: waiting there for the
    // user-interface thread could wait for ever.
    using RepaintRequest = std::function<void()>;

    PictureBox() = default;
    PictureBox(const PictureBox&) = delete;
    PictureBox& operator=(const PictureBox&) = delete;
    // Stops a running animation and waits for its thread to end.
    ~PictureBox();

    void setRepaintRequest(RepaintRequest request);

    // Shows the picture that bytes hold: any running animation is stopped
    // first, and its thread has ended before anything of it is released. A
    // GIF goes to the animation player; empty, unrecognised or undecodable
    // bytes leave the box without a picture. Asks for a repaint.
    void setPicture(ByteView bytes);
    bool hasPicture() const { return picture_ != nullptr || player_ != nullptr; }

    // Paints the client area: the background, then the picture fitted into
    // it. The first paint of an animation starts its thread.
    void paint(Raster& client);

private:
    void requestRepaint();
    void paintPicture(Raster& client, const Placement& place);
    void paintAnimation(Raster& client, const Placement& place);

    std::unique_ptr<Picture> picture_;
    std::unique_ptr<GifPlayer> player_;

    std::mutex repaintLock_;
    RepaintRequest repaintRequest_;  // guarded by repaintLock_
};
