#include "gui/ViewContainer.h"

#include "gui/Control.h"
#include "gui/Frame.h"

namespace kirra::gui {

ViewContainer::~ViewContainer() {
    removeAll();
}

void ViewContainer::adopt(std::unique_ptr<View> view) {
    if (view == nullptr) return;
    view->parent_ = this;
    view->invalid();
    children_.push_back(std::move(view));
}

void ViewContainer::removeView(View* view) {
    for (auto it = children_.begin(); it != children_.end(); ++it) {
        if (it->get() != view) continue;
        if (Frame* frame = getFrame()) {
            frame->forgetView(view);
            frame->invalidRect(view->getRect());
        }
        // Moved out first, so that the child's destructor sees a consistent container.
        std::unique_ptr<View> removed = std::move(*it);
        children_.erase(it);
        return;
    }
}

void ViewContainer::removeAll() {
    while (!children_.empty())
        removeView(children_.back().get());
}

Control* ViewContainer::findControl(int tag) const {
    for (const auto& child : children_) {
        if (auto* control = dynamic_cast<Control*>(child.get());
            control && control->getTag() == tag)
            return control;
        if (auto* container = dynamic_cast<ViewContainer*>(child.get())) {
            if (Control* found = container->findControl(tag)) return found;
        }
    }
    return nullptr;
}

void ViewContainer::draw(DrawContext& context) {
    if (!hasBackground_) return;
    context.setColor(background_);
    context.fillRect(getRect());
}

void ViewContainer::drawRect(DrawContext& context, const Rect& area) {
    if (!isVisible() || !getRect().intersects(area)) return;
    context.beginView(this);
    draw(context);
    for (auto& child : children_)
        child->drawRect(context, area);
}

View* ViewContainer::hitTest(Point where) {
    if (!isVisible() || !getRect().contains(where)) return nullptr;
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
        if (View* hit = (*it)->hitTest(where)) return hit;
    }
    return this;
}

}  // namespace kirra::gui
