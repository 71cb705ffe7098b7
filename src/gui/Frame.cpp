#include "gui/Frame.h"

#include "gui/DrawContext.h"
#include "gui/Image.h"

namespace kirra::gui {

Frame::Frame(int width, int height) : ViewContainer({0, 0, width, height}) {}

Frame::~Frame() {
    // Children first, while the frame they report to is whole.
    closeModal();
    collectGarbage();
    removeAll();
}

View* Frame::targetAt(Point where) {
    if (modal_ != nullptr) {
        View* hit = modal_->hitTest(where);
        return hit != nullptr ? hit : modal_.get();
    }
    return hitTest(where);
}

void Frame::mouseDown(const MouseEvent& event) {
    if (capture_ != nullptr) return;  // a second button while dragging is ignored
    View* target = targetAt(event.where);
    if (focus_ != nullptr && focus_ != target) setFocusView(nullptr);
    // The press goes up the tree until a view accepts it. The view is captured before its
    // handler runs, so that a handler which removes it leaves no capture behind.
    for (View* view = target; view != nullptr && view != this;) {
        capture_ = view;
        captureButtons_ = event.buttons;
        if (view->onMouseDown(event)) break;
        capture_ = nullptr;
        view = view->getParent();
    }
    collectGarbage();
}

void Frame::mouseMoved(const MouseEvent& event) {
    if (capture_ != nullptr) {
        MouseEvent drag = event;
        drag.buttons = captureButtons_;
        capture_->onMouseMoved(drag);
        return;
    }
    View* target = targetAt(event.where);
    if (target != hover_) {
        if (hover_ != nullptr) hover_->onMouseExit();
        hover_ = target;
        if (hover_ != nullptr) hover_->onMouseEnter();
    }
    if (hover_ != nullptr) hover_->onMouseMoved(event);
}

void Frame::mouseUp(const MouseEvent& event) {
    View* released = capture_;
    capture_ = nullptr;
    if (released != nullptr) {
        MouseEvent up = event;
        up.buttons = captureButtons_;
        released->onMouseUp(up);
    }
    collectGarbage();
}

void Frame::wheel(const MouseEvent& event, float steps) {
    for (View* view = targetAt(event.where); view != nullptr && view != this;
         view = view->getParent()) {
        if (view->onWheel(event, steps)) break;
    }
    collectGarbage();
}

void Frame::mouseExited() {
    if (hover_ != nullptr) hover_->onMouseExit();
    hover_ = nullptr;
}

bool Frame::keyDown(const KeyEvent& event) {
    bool handled = focus_ != nullptr && focus_->onKeyDown(event);
    if (!handled && modal_ == nullptr) handled = onShortcut(event);
    if (!handled && event.key == Key::kEscape && modal_ != nullptr) {
        closeModal();
        handled = true;
    }
    collectGarbage();
    return handled;
}

void Frame::showModal(std::unique_ptr<View> view) {
    closeModal();
    if (view == nullptr) return;
    if (hover_ != nullptr) hover_->onMouseExit();
    hover_ = nullptr;
    modal_ = std::move(view);
    // The modal view belongs to no container but still reports to this frame.
    modal_->parent_ = this;
    invalidRect(modal_->getRect());
}

void Frame::closeModal() {
    if (modal_ == nullptr) return;
    forgetView(modal_.get());
    invalidRect(modal_->getRect());
    closedModals_.push_back(std::move(modal_));
}

void Frame::setFocusView(View* view) {
    if (view == focus_) return;
    View* previous = focus_;
    focus_ = view;
    if (previous != nullptr) previous->onFocusLost();
}

void Frame::invalidRect(const Rect& rect) {
    Rect clipped{std::max(rect.left, 0), std::max(rect.top, 0), std::min(rect.right, width()),
                 std::min(rect.bottom, height())};
    if (!clipped.isEmpty()) dirty_ = dirty_.united(clipped);
}

Rect Frame::takeDirtyArea() {
    Rect area = dirty_;
    dirty_ = {};
    return area;
}

void Frame::render(Image& target, const Rect& area) {
    if (!target.isValid() || area.isEmpty()) return;
    DrawContext context(target);
    context.clip(area);
    drawRect(context, area);
    if (modal_ != nullptr) modal_->drawRect(context, area);
}

void Frame::forgetView(View* view) {
    if (view == nullptr) return;
    if (capture_ != nullptr && capture_->isInside(view)) capture_ = nullptr;
    if (hover_ != nullptr && hover_->isInside(view)) hover_ = nullptr;
    if (focus_ != nullptr && focus_->isInside(view)) focus_ = nullptr;
}

void Frame::collectGarbage() {
    closedModals_.clear();
}

}  // namespace kirra::gui
