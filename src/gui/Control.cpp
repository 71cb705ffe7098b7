#include "gui/Control.h"

#include <cmath>

namespace kirra::gui {

void Control::setValue(float value) {
    if (!std::isfinite(value)) value = 0.0f;
    value = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    if (value == value_) return;
    value_ = value;
    invalid();
}

void Control::changeValue(float value) {
    setValue(value);
    if (listener_ != nullptr) listener_->valueChanged(this);
}

void Control::beginEdit() {
    if (listener_ != nullptr) listener_->beginEdit(tag_);
}

void Control::endEdit() {
    if (listener_ != nullptr) listener_->endEdit(tag_);
}

void Control::stepBy(int steps, bool fine) {
    changeValue(getValue() + steps * (fine ? 0.001f : 0.01f));
}

void Control::stepToEnd(bool highest) {
    changeValue(highest ? 1.0f : 0.0f);
}

bool Control::onKeyDown(const KeyEvent& event) {
    const bool fine = (event.modifiers & kShift) != 0;
    int steps = 0;
    switch (event.key) {
        case Key::kUp:
        case Key::kRight:
            steps = 1;
            break;
        case Key::kDown:
        case Key::kLeft:
            steps = -1;
            break;
        case Key::kPageUp:
            steps = 10;
            break;
        case Key::kPageDown:
            steps = -10;
            break;
        case Key::kHome:
        case Key::kEnd:
            break;
        case Key::kReturn:
            return isEditable() && openEntry();
        default:
            return false;
    }
    if (!isEditable()) return true;
    beginEdit();
    if (steps != 0) {
        stepBy(steps, fine);
    } else {
        stepToEnd(event.key == Key::kEnd);
    }
    endEdit();
    return true;
}

}  // namespace kirra::gui
