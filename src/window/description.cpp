#include "window/description.h"

#include <iterator>

namespace {

using namespace control_names;

constexpr std::uint32_t black = 0x000000;
constexpr std::uint32_t white = 0xFFFFFF;
constexpr std::uint32_t red = 0x0000FF;
constexpr std::uint32_t orange = 0x0060C0;  // RGB(192, 96, 0)
constexpr std::uint32_t pink = 0x8050FF;    // RGB(255, 80, 128)
constexpr std::uint32_t green = 0x80E000;   // RGB(0, 224, 128)

constexpr LabelLines one = LabelLines::OneLine;

// Label: name, container, place, text, text colour, lines.
constexpr ControlDescription label(std::string_view name, std::string_view container, std::int32_t left,
                                   std::int32_t top, std::int32_t width, std::int32_t height, std::string_view text,
                                   std::uint32_t colour, LabelLines lines = one) {
    return {name, ControlKind::Label, container, left, top, width, height, true, false, text, colour, buttonFace,
            lines, false};
}

constexpr ControlDescription button(std::string_view name, std::string_view container, std::int32_t left,
                                    std::int32_t top, std::int32_t width, std::int32_t height, std::string_view text) {
    return {name, ControlKind::Button, container, left, top, width, height, true, true, text, black, buttonFace,
            one, false};
}

constexpr ControlDescription editBox(std::string_view name, std::string_view container, std::int32_t left,
                                     std::int32_t top) {
    return {name, ControlKind::EditBox, container, left, top, 72, 25, true, true, {}, black, white, one, true};
}

constexpr ControlDescription groupBox(std::string_view name, std::int32_t left, std::int32_t top, std::int32_t width,
                                      std::int32_t height, std::string_view title) {
    return {name, ControlKind::GroupBox, {}, left, top, width, height, true, false, title, black, buttonFace, one,
            false};
}

// A control that exists for the whole run and is never shown.
constexpr ControlDescription hidden(std::string_view name, ControlKind kind, std::int32_t left, std::int32_t top,
                                    std::int32_t width, std::int32_t height, bool sunkenEdge) {
    return {name, kind, {}, left, top, width, height, false, false, {}, black, buttonFace, one, sunkenEdge};
}

constexpr ControlDescription controls[] = {
    label("\xB1\xEA\xC7\xA9" "8", {}, 12, 416, 112, 12, "Qelmora\xA3\xBA Tavix", orange),  // 标签8
    label("\xB1\xEA\xC7\xA9" "7", group2, 8, 65, 200, 12,
          "\xB4\xF3\xD0\xA1\xC4\xBE\xD3\xD0\xCF\xDE\xD6\xC6\xD7\xD4\xBC\xBA\xB6\xA8\xB0\xC9...", red),  // 大小木有限制自己定吧...
    hidden(saveDialog, ControlKind::FileDialog, 144, 208, 26, 26, false),
    label(statusLabel, {}, 8, 332, 224, 12, {}, red),
    button(customSaveButton, group2, 160, 21, 56, 32, "\xB1\xA3\xB4\xE6"),  // 保存
    editBox(customSizeBox, group2, 69, 24),
    label("\xB1\xEA\xC7\xA9" "5", group2, 8, 24, 56, 24, "\xCD\xBC\xC6\xAC\xB3\xDF\xB4\xE7\xA3\xBA", black),  // 图片尺寸：
    groupBox(group2, 8, 232, 224, 88,
             "\xD7\xD4\xB6\xA8\xD2\xE5\xB1\xA3\xB4\xE6\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1"),  // 自定义保存图片大小
    label("\xB1\xEA\xC7\xA9" "3", {}, 16, 160, 112, 40,
          // 可以直接拖入图片调整大小。\r\n最大到尺寸到420
          "\xBF\xC9\xD2\xD4\xD6\xB1\xBD\xD3\xCD\xCF\xC8\xEB\xCD\xBC\xC6\xAC\xB5\xF7\xD5\xFB\xB4\xF3\xD0\xA1\xA1\xA3\r\n"
          "\xD7\xEE\xB4\xF3\xB5\xBD\xB3\xDF\xB4\xE7\xB5\xBD" "420",
          pink, LabelLines::Wrapped),
    button(saveButton, group1, 137, 158, 80, 32, "\xB1\xA3\xB4\xE6"),  // 保存
    label(sizeLabel, group1, 8, 113, 208, 24, "\xB5\xB1\xC7\xB0\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1\xA3\xBA" "0",
          black),  // 当前图片大小：0
    button(confirmButton, group1, 161, 62, 56, 32, "\xC8\xB7\xB6\xA8"),  // 确定
    editBox(typedSizeBox, group1, 83, 65),
    label("\xB1\xEA\xC7\xA9" "2", group1, 8, 65, 80, 24, "\xD7\xD4\xB6\xA8\xD2\xE5\xB4\xF3\xD0\xA1\xA3\xBA",
          black),  // 自定义大小：
    {sizeSlider, ControlKind::Slider, group1, 37, 14, 181, 32, true, true, {}, black, buttonFace, one, true},
    label("\xB1\xEA\xC7\xA9" "1", group1, 8, 16, 32, 24, "\xBF\xED\xB6\xC8\xA3\xBA", black),  // 宽度：
    groupBox(group1, 8, 5, 224, 197, {}),
    {preview, ControlKind::PictureBox, {}, 236, 11, 420, 420, true, false, {}, black, green, one, true},
    hidden(dropTarget, ControlKind::DropTarget, 8, 353, 26, 26, false),
    hidden(workCanvas, ControlKind::Canvas, 48, 352, 48, 32, true),
};

constexpr Binding bindings[] = {
    {{}, WindowEvent::Ready, Handler::PrepareWindow},
    {{}, WindowEvent::Destroying, Handler::CloseDropIntake},
    {confirmButton, WindowEvent::Clicked, Handler::ApplyTypedSize},
    {saveButton, WindowEvent::Clicked, Handler::SaveAtTypedSize},
    {customSaveButton, WindowEvent::Clicked, Handler::SaveAtCustomSize},
    {sizeSlider, WindowEvent::PositionChanged, Handler::ApplySliderSize},
    {dropTarget, WindowEvent::FilesDropped, Handler::AcceptDroppedFile},
};

constexpr WindowDescription mainWindow = {
    "\xD0\xDE\xB8\xC4\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1",  // 修改图片大小
    "\xD0\xDE\xB8\xC4\xCD\xBC\xC6\xAC\xB4\xF3\xD0\xA1",  // registered under its caption
    666,
    464,
    660,
    435,
    controls,
    std::size(controls),
    {10, 420, 0, 30, 10, 10},
    {".jpg", ".jpg", 260, true, true, true},
    {true, false, false, true},
    green,
    bindings,
    std::size(bindings),
};

}  // namespace

const WindowDescription& mainWindowDescription() { return mainWindow; }

const ControlDescription* findControl(std::string_view name) {
    for (const ControlDescription& control : controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}
