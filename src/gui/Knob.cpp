#include "gui/Knob.h"

namespace kirra::gui {

void Knob::draw(DrawContext& context) {
    strip_.draw(context, getRect(), currentFrame());
}

void Knob::startDrag(const MouseEvent& event) {
    drag_.start(event.where.y, getValue(), event.modifiers);
    beginEdit();
}

bool Knob::onMouseDown(const MouseEvent& event) {
    if (!event.isLeft()) return false;
    if (event.hasControl()) {
        changeValue(getDefaultValue());
        return true;
    }
    startDrag(event);
    return true;
}

void Knob::onMouseMoved(const MouseEvent& event) {
    if (!drag_.isActive()) return;
    float value =
        drag_.valueAt(event.where.y, event.modifiers, getValue(), pixelsForRange(event.modifiers));
    if (value != getValue()) changeValue(value);
}

void Knob::onMouseUp(const MouseEvent& /*event*/) {
    if (!drag_.isActive()) return;
    drag_.stop();
    endEdit();
    invalid();
}

bool Knob::onWheel(const MouseEvent& event, float steps) {
    changeValue(getValue() + steps * wheelStep(event.modifiers));
    return true;
}

}  // namespace kirra::gui
