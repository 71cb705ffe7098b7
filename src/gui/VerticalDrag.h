#pragma once
// The value drag shared by knobs and value fields: the value follows the vertical distance from
// where the drag started; a change of the fine key re-anchors where the pointer is, so the value
// never jumps.

#include "gui/Events.h"

namespace kirra::gui {

class VerticalDrag {
  public:
    void start(int y, float value, int modifiers) {
        active_ = true;
        anchorY_ = y;
        anchorValue_ = value;
        anchorModifiers_ = modifiers;
    }
    void stop() { active_ = false; }
    bool isActive() const { return active_; }

    // The value at this pointer position, 0..1, given the pixels for the full range.
    float valueAt(int y, int modifiers, float currentValue, int pixelsForRange) {
        if ((modifiers & kShift) != (anchorModifiers_ & kShift)) {
            anchorY_ = y;
            anchorValue_ = currentValue;
            anchorModifiers_ = modifiers;
        }
        float value = anchorValue_ + static_cast<float>(anchorY_ - y) / pixelsForRange;
        return value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    }

  private:
    bool active_ = false;
    int anchorY_ = 0;
    float anchorValue_ = 0.0f;
    int anchorModifiers_ = 0;
};

}  // namespace kirra::gui
