#include "window/controls.h"

#include <algorithm>

#include "app/fatal.h"
#include "imaging/canvas.h"
#include "imaging/display.h"
#include "window/description.h"
#include "window/picture_box.h"

namespace {

constexpr char windowNotLoaded[] =  // 未载入欲访问窗口组件所在的窗口
    "\xCE\xB4\xD4\xD8\xC8\xEB\xD3\xFB\xB7\xC3\xCE\xCA\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xCB\xF9\xD4\xDA\xB5\xC4\xB4\xB0"
    "\xBF\xDA";

constexpr std::int32_t largestStoredPosition = 32767;

// The live state the control layer keeps beside the front end's widgets.
struct ControlLayer {
    Host* host = nullptr;
    HandlerTable handlers;
    std::int32_t storedPosition = mainWindowDescription().slider.storedPosition;
    std::int32_t thumbPosition = clampToRange(storedPosition);
    Text dialogFileName = Text::copyOf(mainWindowDescription().fileDialog.proposedName);

    static std::int32_t clampToRange(std::int32_t position) {
        const SliderSettings& slider = mainWindowDescription().slider;
        return std::clamp(position, slider.minimum, slider.maximum);
    }
};

ControlLayer& layer() {
    static ControlLayer instance;
    return instance;
}

// The host of the loaded window; a control reached before the window was
// loaded stops the program, as any such programming error does.
Host& loadedHost() {
    if (layer().host == nullptr) fatalStop(windowNotLoaded);
    return *layer().host;
}

const ControlDescription& describedControl(std::string_view name) {
    const ControlDescription* control = findControl(name);
    if (control == nullptr) fatalStop(windowNotLoaded);
    return *control;
}

std::int32_t numberOf(const PropertyArgument& value) {
    const auto* number = std::get_if<std::int32_t>(&value);
    return number != nullptr ? *number : 0;
}

std::string_view textOf(const PropertyArgument& value) {
    const auto* text = std::get_if<std::string_view>(&value);
    return text != nullptr ? *text : std::string_view();
}

ByteView bytesOf(const PropertyArgument& value) {
    const auto* bytes = std::get_if<ByteView>(&value);
    return bytes != nullptr ? *bytes : ByteView();
}

std::int32_t readCommon(const ControlDescription& control, int number) {
    const bool canvas = control.kind == ControlKind::Canvas;
    switch (number) {
    case property::left: return control.left;
    case property::top: return control.top;
    case property::width: return canvas ? workCanvas().width() : control.width;
    case property::height: return canvas ? workCanvas().height() : control.height;
    default: return 0;
    }
}

void writeSliderPosition(std::int32_t value) {
    layer().storedPosition = std::clamp(value, 0, largestStoredPosition);
    layer().thumbPosition = ControlLayer::clampToRange(value);
    loadedHost().placeSliderThumb(control_names::sizeSlider, layer().thumbPosition);
}

void callHandler(Handler handler, const Text* paths) {
    const HandlerTable& table = layer().handlers;
    void (*plain)() = nullptr;
    switch (handler) {
    case Handler::PrepareWindow: plain = table.prepareWindow; break;
    case Handler::CloseDropIntake: plain = table.closeDropIntake; break;
    case Handler::ApplyTypedSize: plain = table.applyTypedSize; break;
    case Handler::SaveAtTypedSize: plain = table.saveAtTypedSize; break;
    case Handler::SaveAtCustomSize: plain = table.saveAtCustomSize; break;
    case Handler::ApplySliderSize: plain = table.applySliderSize; break;
    case Handler::AcceptDroppedFile:
        if (table.acceptDroppedFile != nullptr && paths != nullptr) table.acceptDroppedFile(*paths);
        return;
    }
    if (plain != nullptr) plain();
}

// Runs the handler bound to the element's event, if any.
void dispatch(std::string_view element, WindowEvent event, const Text* paths = nullptr) {
    const WindowDescription& window = mainWindowDescription();
    for (std::size_t i = 0; i < window.bindingCount; ++i) {
        const Binding& binding = window.bindings[i];
        if (binding.element == element && binding.event == event) callHandler(binding.handler, paths);
    }
}

int hostDisplayBits() { return layer().host != nullptr ? layer().host->displayBitsPerPixel() : 32; }
std::uint32_t hostButtonFace() { return layer().host != nullptr ? layer().host->buttonFaceColour() : 0xF0F0F0; }

void requestPreviewRepaint() {
    if (Host* host = layer().host) host->repaintControl(control_names::preview);
}

}  // namespace

PropertyValue readProperty(std::string_view name, int number) {
    Host& host = loadedHost();
    const ControlDescription& control = describedControl(name);
    if (number < property::caption) return readCommon(control, number);
    switch (control.kind) {
    case ControlKind::EditBox:
        if (number == property::content) return host.editBoxText(name);
        break;
    case ControlKind::Slider:
        if (number == property::position) return layer().storedPosition;
        break;
    case ControlKind::FileDialog:
        if (number == property::fileName) return Text::copyOf(layer().dialogFileName.view());
        break;
    default: break;
    }
    return std::int32_t{0};
}

void writeProperty(std::string_view name, int number, const PropertyArgument& value) {
    Host& host = loadedHost();
    const ControlDescription& control = describedControl(name);
    switch (control.kind) {
    case ControlKind::Label:
        if (number == property::caption) host.setControlText(name, Text::copyOf(textOf(value)));
        break;
    case ControlKind::Canvas:
        if (number == property::width) workCanvas().setWidth(numberOf(value));
        if (number == property::height) workCanvas().setHeight(numberOf(value));
        break;
    case ControlKind::PictureBox:
        if (number == property::picture) previewPictureBox().setPicture(bytesOf(value));
        break;
    case ControlKind::Slider:
        if (number == property::position) writeSliderPosition(numberOf(value));
        break;
    case ControlKind::FileDialog:
        if (number == property::fileName) layer().dialogFileName = Text::copyOf(textOf(value));
        break;
    default: break;
    }
}

void redrawControl(std::string_view name) { loadedHost().repaintControl(describedControl(name).name); }

WindowHandle windowHandle() {
    Host* host = layer().host;
    return host != nullptr && host->mainWindowExists() ? host->mainWindowHandle() : 0;
}

int showFileDialog(std::string_view dialogControl) {
    describedControl(dialogControl);
    const FileDialogSettings& settings = mainWindowDescription().fileDialog;
    SaveDialogRequest request;
    request.proposedPath = std::string(layer().dialogFileName.view());
    std::string_view extension = settings.defaultExtension;
    if (!extension.empty() && extension.front() == '.') extension.remove_prefix(1);
    request.defaultExtension = std::string(extension);
    request.overwritePrompt = settings.overwritePrompt;
    request.pathMustExist = settings.pathMustExist;
    // The stored file-must-exist setting is not handed on: the flag belongs
    // to open dialogs, and a save dialog that honoured it would admit only
    // files that already exist, so no new file could ever be saved.
    const std::optional<std::string> chosen = loadedHost().showSaveDialog(request);
    if (!chosen) return 0;
    layer().dialogFileName = Text::copyOf(*chosen);
    return 1;
}

WindowHooks mainWindowHooks(Host& host, const HandlerTable& handlers) {
    WindowHooks hooks;
    hooks.readDescription = [&host, handlers] {
        layer().host = &host;
        layer().handlers = handlers;
        setDisplayQueries({hostDisplayBits, hostButtonFace});
        previewPictureBox().setRepaintRequest(requestPreviewRepaint);
        return true;
    };
    hooks.windowReady = [] { dispatch({}, WindowEvent::Ready); };
    return hooks;
}

Host* windowHost() { return layer().host; }

void detachWindowHost() {
    previewPictureBox().setRepaintRequest(nullptr);
    setDisplayQueries({});
    layer().host = nullptr;
}

void raiseWindowDestroying() { dispatch({}, WindowEvent::Destroying); }

void raiseClicked(std::string_view control) { dispatch(control, WindowEvent::Clicked); }

void raiseFilesDropped(const Text& paths) { dispatch(control_names::dropTarget, WindowEvent::FilesDropped, &paths); }

void sliderScrolled(ScrollCode code, std::int32_t thumbPosition) {
    if (code == ScrollCode::EndTrack) return;
    layer().thumbPosition = ControlLayer::clampToRange(thumbPosition);
    layer().storedPosition = layer().thumbPosition;
    dispatch(control_names::sizeSlider, WindowEvent::PositionChanged);
}

std::int32_t sliderThumbPosition() { return layer().thumbPosition; }

PictureBox& previewPictureBox() {
    static PictureBox box;
    return box;
}
