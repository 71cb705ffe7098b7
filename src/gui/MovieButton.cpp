#include "gui/MovieButton.h"

namespace kirra::gui {

void MovieButton::draw(DrawContext& context) {
    strip_.draw(context, getRect(), stripFrame());
}

bool MovieButton::onMouseDown(const MouseEvent& event) {
    int frames = strip_.frames;
    if (frames < 2 || !(event.isLeft() || event.isRight())) return false;
    int frame = (stripFrame() + (event.isLeft() ? 1 : frames - 1)) % frames;
    changeValue(static_cast<float>(frame) / (frames - 1));
    return true;
}

}  // namespace kirra::gui
