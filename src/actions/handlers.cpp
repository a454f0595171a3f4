#include "actions/actions.h"

HandlerTable actionHandlers() {
    HandlerTable table;
    table.prepareWindow = prepareWindow;
    table.closeDropIntake = closeDropIntake;
    table.applyTypedSize = applyTypedSize;
    table.saveAtTypedSize = saveAtTypedSize;
    table.saveAtCustomSize = saveAtCustomSize;
    table.applySliderSize = applySliderSize;
    table.acceptDroppedFile = acceptDroppedFile;
    return table;
}
