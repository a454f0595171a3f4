#pragma once

#include <cstdint>
#include <string_view>
#include <variant>

#include "app/byte_view.h"
#include "app/bytes.h"
#include "app/lifecycle.h"
#include "app/text.h"
#include "platform/host.h"

class PictureBox;

// The control layer: how the actions reach the controls of the main window,
// by name and property number, and how a front end's events reach the
// handlers bound in the window description.

// Property numbers: 0 to 7 common to every control, 8 on each kind's own.
namespace property {
inline constexpr int left = 0;
inline constexpr int top = 1;
inline constexpr int width = 2;
inline constexpr int height = 3;
inline constexpr int caption = 8;    // label (text)
inline constexpr int content = 8;    // edit box (text)
inline constexpr int picture = 10;   // picture box (bytes)
inline constexpr int fileName = 10;  // file dialog (text: a UTF-8 path)
inline constexpr int position = 19;  // slider (whole number)
}  // namespace property

// A value read: a whole number, or a new text or bytes value the caller owns.
using PropertyValue = std::variant<std::int32_t, Text, Bytes>;
// A value written: the control copies what it keeps.
using PropertyArgument = std::variant<std::int32_t, std::string_view, ByteView>;

PropertyValue readProperty(std::string_view control, int number);
void writeProperty(std::string_view control, int number, const PropertyArgument& value);
// Marks a control for repainting after the running handler.
void redrawControl(std::string_view control);
WindowHandle windowHandle();

// Shows the save dialog of the given file-dialog control with its settings
// and waits until it closes: 1 when the user confirmed a name, which then
// is the dialog's file-name property; 0 otherwise, the property unchanged.
int showFileDialog(std::string_view dialogControl);

// The handlers the actions bind to the description's events.
struct HandlerTable {
    void (*prepareWindow)() = nullptr;
    void (*closeDropIntake)() = nullptr;
    void (*applyTypedSize)() = nullptr;
    void (*saveAtTypedSize)() = nullptr;
    void (*saveAtCustomSize)() = nullptr;
    void (*applySliderSize)() = nullptr;
    void (*acceptDroppedFile)(const Text& paths) = nullptr;
};

// What a front end hands to startProgram: the description is "read" by
// attaching the host to the control layer; windowReady raises the bound
// handler.
WindowHooks mainWindowHooks(Host& host, const HandlerTable& handlers);

// The host of the loaded window, or null before it is loaded and after it is gone.
Host* windowHost();
// The window is gone: the control layer lets go of its host.
void detachWindowHost();

// Events reported by a front end, on the user-interface thread.
void raiseWindowDestroying();
void raiseClicked(std::string_view control);
void raiseFilesDropped(const Text& paths);

// The track-bar notification codes of a slider move.
enum class ScrollCode {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    EndTrack = 8,
};
// One notification of a user move of the slider's thumb, with the thumb's
// position after it: the stored position follows the thumb and
// positionChanged is raised, except for the end of a move (EndTrack).
void sliderScrolled(ScrollCode code, std::int32_t thumbPosition);

// The slider's thumb position as the control layer last placed it.
std::int32_t sliderThumbPosition();

// The preview, which a front end paints (PictureBox::paint).
PictureBox& previewPictureBox();
