#pragma once

#include <cstdint>
#include <string_view>

// The fixed description of the main window: the window, its twenty
// controls in stacking order (the first listed lies on top), and which
// event of which element calls which handler. Texts and names are GBK;
// colours are 0x00BBGGRR, buttonFace standing for the platform's colour.

inline constexpr std::uint32_t buttonFace = 0xFF000000;

enum class ControlKind { Label, Button, EditBox, GroupBox, Slider, PictureBox, Canvas, FileDialog, DropTarget };

enum class LabelLines {
    OneLine,  // one line, left-aligned, vertically centred, clipped
    Wrapped,  // breaks at its line breaks, wraps at word boundaries, from the top
};

struct ControlDescription {
    std::string_view name;
    ControlKind kind;
    std::string_view container;  // a group box's name; empty for the window
    std::int32_t left;
    std::int32_t top;
    std::int32_t width;
    std::int32_t height;
    bool visible;
    bool tabStop;
    std::string_view text;
    std::uint32_t textColour;
    std::uint32_t background;
    LabelLines lines;
    bool sunkenEdge;  // the one-pixel static edge
};

struct SliderSettings {
    std::int32_t minimum;
    std::int32_t maximum;
    std::int32_t storedPosition;
    std::int32_t tickFrequency;  // tick marks below the track
    std::int32_t pageStep;
    std::int32_t lineStep;
};

struct FileDialogSettings {
    std::string_view proposedName;
    std::string_view defaultExtension;
    std::size_t nameBuffer;  // bytes, the terminating zero included
    bool fileMustExist;
    bool overwritePrompt;
    bool pathMustExist;
};

struct DropTargetSettings {
    bool acceptText;
    bool acceptHtml;
    bool acceptUrl;
    bool acceptFiles;
};

enum class WindowEvent { Ready, Destroying, Clicked, PositionChanged, FilesDropped };

enum class Handler {
    PrepareWindow,
    CloseDropIntake,
    ApplyTypedSize,
    SaveAtTypedSize,
    SaveAtCustomSize,
    ApplySliderSize,
    AcceptDroppedFile,
};

struct Binding {
    std::string_view element;  // a control's name; empty for the window
    WindowEvent event;
    Handler handler;
};

struct WindowDescription {
    std::string_view caption;
    std::string_view className;
    std::int32_t outerWidth;
    std::int32_t outerHeight;
    std::int32_t clientWidth;  // what the Windows frame leaves of the outer size
    std::int32_t clientHeight;
    const ControlDescription* controls;
    std::size_t controlCount;
    SliderSettings slider;
    FileDialogSettings fileDialog;
    DropTargetSettings dropTarget;
    std::uint32_t pictureBoxBackground;
    const Binding* bindings;
    std::size_t bindingCount;
};

const WindowDescription& mainWindowDescription();

// The control of that name, or null.
const ControlDescription* findControl(std::string_view name);

// The names the actions use.
namespace control_names {
inline constexpr std::string_view sizeLabel = "\xB1\xEA\xC7\xA9" "4";                 // 标签4
inline constexpr std::string_view statusLabel = "\xB1\xEA\xC7\xA9" "6";               // 标签6
inline constexpr std::string_view typedSizeBox = "\xB1\xE0\xBC\xAD\xBF\xF2" "1";      // 编辑框1
inline constexpr std::string_view customSizeBox = "\xD7\xD4\xB6\xA8\xD2\xE5_\xCD\xBC\xC6\xAC";  // 自定义_图片
inline constexpr std::string_view confirmButton = "\xB0\xB4\xC5\xA5" "1";             // 按钮1
inline constexpr std::string_view saveButton = "\xB0\xB4\xC5\xA5" "2";                // 按钮2
inline constexpr std::string_view customSaveButton = "\xD7\xD4\xB6\xA8\xB3\xDF\xB4\xE7";  // 自定尺寸
inline constexpr std::string_view sizeSlider = "\xBB\xAC\xBF\xE9_\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1";  // 滑块_图片大小
inline constexpr std::string_view preview = "\xCD\xBC\xC6\xAC\xBF\xF2" "1";           // 图片框1
inline constexpr std::string_view workCanvas = "\xBB\xAD\xB0\xE5" "1";                // 画板1
inline constexpr std::string_view saveDialog = "\xCD\xA8\xD3\xC3\xB6\xD4\xBB\xB0\xBF\xF2" "1";  // 通用对话框1
inline constexpr std::string_view dropTarget = "\xCD\xCF\xB7\xC5\xB6\xD4\xCF\xF3" "1";  // 拖放对象1
inline constexpr std::string_view group1 = "\xB7\xD6\xD7\xE9\xBF\xF2" "1";            // 分组框1
inline constexpr std::string_view group2 = "\xB7\xD6\xD7\xE9\xBF\xF2" "2";            // 分组框2
}  // namespace control_names
