#include "platform/qt/control_widgets.h"

#include <QPushButton>

#include "platform/qt/gbk_text.h"
#include "platform/qt/group_frame.h"
#include "platform/qt/label_widget.h"
#include "platform/qt/preview_widget.h"
#include "platform/qt/size_edit.h"
#include "platform/qt/size_slider.h"
#include "window/controls.h"

namespace {

QWidget* createButton(const ControlDescription& description, QWidget* parent) {
    auto* button = new QPushButton(fromGbk(description.text), parent);
    // None of the buttons is a default button: Enter presses nothing.
    button->setAutoDefault(false);
    button->setDefault(false);
    const std::string_view name = description.name;  // the description is constant data
    QObject::connect(button, &QPushButton::clicked, button, [name] { raiseClicked(name); });
    return button;
}

QWidget* createSlider(QWidget* parent) {
    auto* slider = new SizeSlider(mainWindowDescription().slider, parent);
    slider->setScrollReport(sliderScrolled);
    return slider;
}

QWidget* createWidget(const ControlDescription& description, QWidget* parent) {
    switch (description.kind) {
    case ControlKind::Label: return new LabelWidget(description, parent);
    case ControlKind::Button: return createButton(description, parent);
    case ControlKind::EditBox: return new SizeEdit(parent);
    case ControlKind::GroupBox: return new GroupFrame(description, parent);
    case ControlKind::Slider: return createSlider(parent);
    case ControlKind::PictureBox: return new PreviewWidget(previewPictureBox(), parent);
    case ControlKind::Canvas:
    case ControlKind::FileDialog:
    case ControlKind::DropTarget: break;
    }
    return nullptr;
}

}  // namespace

QWidget* createControlWidget(const ControlDescription& description, QWidget* parent) {
    QWidget* widget = createWidget(description, parent);
    if (widget == nullptr) return nullptr;
    widget->setObjectName(fromGbk(description.name));
    widget->setGeometry(description.left, description.top, description.width, description.height);
    if (!description.tabStop) widget->setFocusPolicy(Qt::NoFocus);
    widget->setVisible(description.visible);
    return widget;
}
