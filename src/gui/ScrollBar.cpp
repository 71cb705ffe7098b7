#include "gui/ScrollBar.h"

#include <algorithm>

namespace kirra::gui {

void ScrollBar::setGeometry(const Rect& bar, int lineCount, int visibleLines) {
    bar_ = bar;
    lineCount_ = std::max(0, lineCount);
    visibleLines_ = std::max(1, visibleLines);
    first_ = std::clamp(first_, 0, lastFirst());
}

bool ScrollBar::scrollTo(int first) {
    first = std::clamp(first, 0, lastFirst());
    if (first == first_) return false;
    first_ = first;
    return true;
}

Rect ScrollBar::thumb() const {
    int trackTop = bar_.top + kWidth;
    int track = std::max(0, bar_.height() - 2 * kWidth);
    int length = std::max(6, track * visibleLines_ / std::max(1, lineCount_));
    length = std::min(length, track);
    int top = trackTop + (track - length) * first_ / std::max(1, lastFirst());
    return {bar_.left + 1, top, bar_.right - 1, top + length};
}

bool ScrollBar::mouseDown(Point where) {
    if (!isNeeded() || !bar_.contains(where)) return false;
    if (upArrow().contains(where)) {
        scrollTo(first_ - 1);
    } else if (downArrow().contains(where)) {
        scrollTo(first_ + 1);
    } else {
        Rect knob = thumb();
        if (where.y >= knob.top && where.y < knob.bottom) {
            draggingThumb_ = true;
            grabOffset_ = where.y - knob.top;
        } else {
            // A click on the track pages towards it.
            scrollTo(where.y < knob.top ? first_ - visibleLines_ : first_ + visibleLines_);
        }
    }
    return true;
}

bool ScrollBar::mouseMoved(Point where) {
    if (!draggingThumb_) return false;
    Rect knob = thumb();
    int travel = std::max(1, bar_.height() - 2 * kWidth - knob.height());
    int offset = where.y - grabOffset_ - (bar_.top + kWidth);
    return scrollTo((offset * lastFirst() + travel / 2) / travel);
}

void ScrollBar::draw(DrawContext& context, Color color, Color greyed, const Font& font) const {
    if (!isNeeded()) return;
    context.setColor(color.withAlpha(30));
    context.fillRect(bar_);
    // An arrow that cannot scroll any further is greyed.
    context.drawText("^", upArrow().offset(0, 1), Align::kCenter, font,
                     first_ > 0 ? color : greyed);
    context.drawText("v", downArrow(), Align::kCenter, font, first_ < lastFirst() ? color : greyed);
    context.setColor(color.withAlpha(200));
    context.fillRect(thumb());
}

}  // namespace kirra::gui
