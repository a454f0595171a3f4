#pragma once

#include "app/byte_view.h"
#include "app/bytes.h"
#include "app/text.h"
#include "window/controls.h"

// The handlers of the user's actions, bound to the window's events.

// windowReady: registers the drop target and shows the start size in 标签4.
void prepareWindow();
// positionChanged of the slider: resizes to the slider's position.
void applySliderSize();
// 按钮1: resizes to the size typed into 编辑框1, at most 420.
void applyTypedSize();
// 按钮2 and 自定尺寸: save at the size typed into 编辑框1 or 自定义_图片.
void saveAtTypedSize();
void saveAtCustomSize();
// filesDropped: the dropped path becomes the source and is previewed.
void acceptDroppedFile(const Text& paths);
// windowDestroying: revokes the drop target.
void closeDropIntake();

// The whole file, or empty bytes on any failure.
Bytes readFileBytes(const Text& name);
// 1 when the file at name now holds exactly data, else 0 with any old file
// left as it was.
int writeFileBytes(const Text& name, ByteView data);

// All of the above, for mainWindowHooks.
HandlerTable actionHandlers();
