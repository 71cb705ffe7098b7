#include "gui/OnOffButton.h"

namespace kirra::gui {

void OnOffButton::draw(DrawContext& context) {
    strip_.draw(context, getRect(), isOn() ? 1 : 0);
}

bool OnOffButton::onMouseDown(const MouseEvent& event) {
    if (!event.isLeft()) return false;
    changeValue(isOn() ? 0.0f : 1.0f);
    return true;
}

}  // namespace kirra::gui
