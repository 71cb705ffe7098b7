#include "editor/panels/CDelayPanRParam.h"

#include "modules/ModuleMath.h"

namespace kirra::editor {

void CDelayPanRParam::anchor(const gui::MouseEvent& event) {
    anchorPoint_ = event.where;
    anchorValue_ = getValue();
    anchorModifiers_ = event.modifiers;
}

bool CDelayPanRParam::onMouseDown(const gui::MouseEvent& event) {
    bool handled = CModuleParam::onMouseDown(event);
    if (isDragging()) anchor(event);
    return handled;
}

float CDelayPanRParam::draggedValue(const gui::MouseEvent& event) {
    // A change of the fine key starts over where the pointer is, so the value never jumps.
    if ((event.modifiers & gui::kShift) != (anchorModifiers_ & gui::kShift)) anchor(event);
    const int pixels = event.hasShift() ? kFineDragPixels : kDragPixels;
    const int movement = (event.where.x - anchorPoint_.x) + (anchorPoint_.y - event.where.y);
    return sanitizeUnit(anchorValue_ - static_cast<float>(movement) / pixels);
}

}  // namespace kirra::editor
