#pragma once

#include "window/description.h"

class QWidget;

// The widget of one control of the window description, placed in parent
// at its place and size, named after the control, wired to the core's
// events. Null for the controls that show nothing on a desktop: the save
// dialog (a modal dialog made when asked), the drop target (the window
// itself takes the drags) and the work canvas (a raster of the core).
QWidget* createControlWidget(const ControlDescription& description, QWidget* parent);
