#include "gui/Frame.h"

#include <algorithm>
#include <sstream>

#include "gui/DrawContext.h"
#include "gui/Image.h"

namespace kirra::gui {

namespace {

constexpr int kTooltipPadding = 4;
constexpr int kTooltipLineHeight = 12;
// Below and to the right of the pointer, clear of its arrow.
constexpr int kTooltipOffsetX = 10;
constexpr int kTooltipOffsetY = 18;

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

}  // namespace

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

void Frame::setZoom(double zoom) {
    zoom_ = zoom > 0.0 ? zoom : 1.0;
    invalidAll();
}

void Frame::mouseDown(const MouseEvent& event) {
    hideTooltip();
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
    if (event.where.x != pointer_.x || event.where.y != pointer_.y || !pointerInside_) {
        pointer_ = event.where;
        pointerMoved_ = true;
        pointerInside_ = true;
        hideTooltip();
    }
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
    pointerInside_ = false;
    hideTooltip();
    if (hover_ != nullptr) hover_->onMouseExit();
    hover_ = nullptr;
}

bool Frame::keyDown(const KeyEvent& event) {
    hideTooltip();
    bool handled = focus_ != nullptr && focus_->onKeyDown(event);
    // Without a text being typed, the view under the pointer takes the keys.
    for (View* view = focus_ == nullptr && capture_ == nullptr ? hover_ : nullptr;
         !handled && view != nullptr && view != this; view = view->getParent()) {
        handled = view->onKeyDown(event);
    }
    if (!handled && modal_ == nullptr) handled = onShortcut(event);
    if (!handled && event.key == Key::kEscape && modal_ != nullptr) {
        closeModal();
        handled = true;
    }
    collectGarbage();
    return handled;
}

void Frame::tick(int64_t nowMs) {
    if (pointerMoved_) {
        pointerMoved_ = false;
        restSinceMs_ = nowMs;
        return;
    }
    if (!pointerInside_ || !tooltip_.empty() || capture_ != nullptr || focus_ != nullptr) return;
    if (nowMs - restSinceMs_ >= kTooltipDelayMs) showTooltip();
}

std::string Frame::cutTextAt(Point where) const {
    const View* under = const_cast<Frame*>(this)->targetAt(where);
    for (const CutText& cut : cutTexts_) {
        if (cut.box.contains(where) && under != nullptr && under->isInside(cut.view))
            return cut.text;
    }
    return {};
}

void Frame::showTooltip() {
    View* under = targetAt(pointer_);
    if (under == nullptr) return;
    std::string help = under->tooltip(pointer_);
    std::string whole = cutTextAt(pointer_);
    // The full text first, unless the view's help says it already.
    if (!whole.empty() && help.find(whole) == std::string::npos)
        help = help.empty() ? whole : whole + "\n" + help;
    if (help.empty()) {
        pointerMoved_ = false;
        restSinceMs_ = INT64_MAX / 2;  // nothing to say until the pointer moves again
        return;
    }
    Image scratch(1, 1);
    DrawContext measure(scratch);
    double widest = 0.0;
    std::vector<std::string> lines = linesOf(help);
    for (const std::string& line : lines)
        widest = std::max(widest, measure.textWidth(line.c_str(), tooltipStyle_.font));
    const int boxWidth = static_cast<int>(widest + 0.999) + 2 * kTooltipPadding;
    const int boxHeight = static_cast<int>(lines.size()) * kTooltipLineHeight + kTooltipPadding;
    int left = std::min(pointer_.x + kTooltipOffsetX, width() - boxWidth);
    int top = pointer_.y + kTooltipOffsetY;
    if (top + boxHeight > height()) top = pointer_.y - boxHeight - 4;
    left = std::max(left, 0);
    top = std::max(top, 0);
    tooltip_ = help;
    tooltipRect_ = {left, top, left + boxWidth, top + boxHeight};
    invalidRect(tooltipRect_);
}

void Frame::hideTooltip() {
    if (tooltip_.empty()) return;
    invalidRect(tooltipRect_);
    tooltip_.clear();
    tooltipRect_ = {};
}

void Frame::drawTooltip(DrawContext& context) {
    context.beginView(nullptr);
    context.setColor(tooltipStyle_.background);
    context.fillRect(tooltipRect_);
    context.setColor(tooltipStyle_.border);
    context.setLineWidth(1.0);
    context.frameRect(tooltipRect_);
    int top = tooltipRect_.top + kTooltipPadding / 2;
    for (const std::string& line : linesOf(tooltip_)) {
        Rect box{tooltipRect_.left + kTooltipPadding, top, tooltipRect_.right - kTooltipPadding,
                 top + kTooltipLineHeight};
        context.drawText(line.c_str(), box, Align::kLeft, tooltipStyle_.font, tooltipStyle_.text);
        top += kTooltipLineHeight;
    }
}

void Frame::viewDrawing(const View* view) {
    cutTexts_.erase(std::remove_if(cutTexts_.begin(), cutTexts_.end(),
                                   [view](const CutText& cut) { return cut.view == view; }),
                    cutTexts_.end());
    if (recorder_ != nullptr) recorder_->viewDrawing(view);
}

void Frame::textDrawn(const TextDrawn& text) {
    if (text.cut && text.view != nullptr) cutTexts_.push_back({text.view, text.box, text.text});
    if (recorder_ != nullptr) recorder_->textDrawn(text);
}

void Frame::showModal(std::unique_ptr<View> view) {
    hideTooltip();
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
    context.setTextObserver(this);
    context.clip(area);
    drawRect(context, area);
    if (modal_ != nullptr) modal_->drawRect(context, area);
    if (!tooltip_.empty() && tooltipRect_.intersects(area)) drawTooltip(context);
}

void Frame::forgetView(View* view) {
    if (view == nullptr) return;
    cutTexts_.erase(std::remove_if(cutTexts_.begin(), cutTexts_.end(),
                                   [view](const CutText& cut) { return cut.view->isInside(view); }),
                    cutTexts_.end());
    if (hover_ != nullptr && hover_->isInside(view)) hideTooltip();
    if (capture_ != nullptr && capture_->isInside(view)) capture_ = nullptr;
    if (hover_ != nullptr && hover_->isInside(view)) hover_ = nullptr;
    if (focus_ != nullptr && focus_->isInside(view)) focus_ = nullptr;
}

void Frame::collectGarbage() {
    closedModals_.clear();
}

}  // namespace kirra::gui
