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

}  // namespace kirra::gui
