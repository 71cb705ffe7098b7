#include "gui/View.h"

#include "gui/Frame.h"

namespace kirra::gui {

void View::setRect(const Rect& rect) {
    invalid();
    rect_ = rect;
    invalid();
}

void View::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (Frame* frame = getFrame()) frame->invalidRect(rect_);
}

Frame* View::getFrame() {
    return parent_ != nullptr ? parent_->getFrame() : nullptr;
}

bool View::isInside(const View* ancestor) const {
    for (const View* view = this; view != nullptr; view = view->parent_) {
        if (view == ancestor) return true;
    }
    return false;
}

void View::invalid() {
    if (!visible_) return;
    if (Frame* frame = getFrame()) frame->invalidRect(rect_);
}

void View::drawRect(DrawContext& context, const Rect& area) {
    if (!visible_ || !rect_.intersects(area)) return;
    context.beginView(this);
    draw(context);
}

View* View::hitTest(Point where) {
    return visible_ && rect_.contains(where) ? this : nullptr;
}

}  // namespace kirra::gui
