#include <variant>

#include "actions/actions.h"
#include "actions/gbk_texts.h"
#include "actions/typed_size.h"
#include "app/working_state.h"
#include "convert/texts.h"
#include "imaging/resize.h"
#include "window/description.h"
#include "window/drop_target.h"

namespace {

std::int32_t sliderPosition() {
    const PropertyValue position = readProperty(control_names::sizeSlider, property::position);
    const std::int32_t* number = std::get_if<std::int32_t>(&position);
    return number != nullptr ? *number : 0;
}

void showSizeInLabel(std::int32_t size) {
    const Text number = intToText(size);
    const Text caption = joinTexts({gbk::sizeLabelPrefix, number.view()});
    writeProperty(control_names::sizeLabel, property::caption, caption.view());
}

void showSquareInPreview() { writeProperty(control_names::preview, property::picture, outputImage().view()); }

}  // namespace

void prepareWindow() {
    registerDropTarget(windowHandle());  // a refusal leaves a window that takes no drops
    showSizeInLabel(sliderPosition());
}

void applySliderSize() {
    resizeToSquare(sourcePath(), sliderPosition());
    redrawControl(control_names::preview);
    showSquareInPreview();
    showSizeInLabel(sliderPosition());
}

// A confirmed size also goes into 标签4, so the label never contradicts the
// square in the preview.
void applyTypedSize() {
    if (exceedsMaxSize(typedNumber(control_names::typedSizeBox))) {
        const Text message = Text::copyOf(gbk::sizeLimitMessage);
        const Text caption = Text::copyOf(gbk::sizeLimitCaption);
        if (Host* host = windowHost()) host->showMessageBox(message, caption);
        return;
    }
    resizeToSquare(sourcePath(), typedSize(control_names::typedSizeBox));
    writeProperty(control_names::sizeSlider, property::position, typedSize(control_names::typedSizeBox));
    showSquareInPreview();
    redrawControl(control_names::preview);
    showSizeInLabel(typedSize(control_names::typedSizeBox));
}
