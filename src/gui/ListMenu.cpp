#include "gui/ListMenu.h"

#include <algorithm>

#include "gui/Frame.h"

namespace kirra::gui {

ListMenu::ListMenu(const Rect& rect, std::string title, std::vector<std::string> lines,
                   int selected, ListMenuStyle style, std::function<void(int)> onChoice)
    : View(rect),
      title_(std::move(title)),
      lines_(std::move(lines)),
      selected_(selected),
      style_(style),
      onChoice_(std::move(onChoice)) {
    // Opens with the chosen line in view, in the middle where possible.
    scrollTo(selected_ - getVisibleLines() / 2);
}

Rect ListMenu::listArea() const {
    Rect area = getRect().inset(1, 1);
    if (!title_.empty()) area.top += style_.lineHeight + 2;
    return area;
}

int ListMenu::getVisibleLines() const {
    return std::max(1, listArea().height() / std::max(1, style_.lineHeight));
}

void ListMenu::scrollTo(int first) {
    int last = std::max(0, static_cast<int>(lines_.size()) - getVisibleLines());
    first = std::clamp(first, 0, last);
    if (first == first_) return;
    first_ = first;
    invalid();
}

Rect ListMenu::lineRect(int visibleIndex) const {
    Rect area = listArea();
    int right = hasScrollBar() ? area.right - kScrollBarWidth : area.right;
    int top = area.top + visibleIndex * style_.lineHeight;
    return {area.left, top, right, top + style_.lineHeight};
}

Rect ListMenu::upArrowRect() const {
    Rect area = listArea();
    return {area.right - kScrollBarWidth, area.top, area.right, area.top + kScrollBarWidth};
}

Rect ListMenu::downArrowRect() const {
    Rect area = listArea();
    return {area.right - kScrollBarWidth, area.bottom - kScrollBarWidth, area.right, area.bottom};
}

Rect ListMenu::thumbRect() const {
    Rect up = upArrowRect();
    Rect down = downArrowRect();
    int track = down.top - up.bottom;
    int count = static_cast<int>(lines_.size());
    int visible = getVisibleLines();
    int length = std::max(6, track * visible / std::max(1, count));
    int travel = track - length;
    int last = std::max(1, count - visible);
    int top = up.bottom + travel * first_ / last;
    return {up.left + 1, top, up.right - 1, top + length};
}

void ListMenu::draw(DrawContext& context) {
    const Rect& rect = getRect();
    context.setColor(style_.background);
    context.fillRect(rect);
    context.setColor(style_.border);
    context.setLineWidth(1.0);
    context.frameRect(rect);
    if (!title_.empty()) {
        Rect titleBox{rect.left + 1, rect.top + 1, rect.right - 1,
                      rect.top + 1 + style_.lineHeight};
        Font bold = style_.font;
        bold.bold = true;
        context.drawText(title_.c_str(), titleBox, Align::kCenter, bold, style_.text);
        context.setColor(style_.border.withAlpha(120));
        context.drawLine(rect.left + 1, titleBox.bottom, rect.right - 2, titleBox.bottom);
    }
    int visible = getVisibleLines();
    for (int i = 0; i < visible && first_ + i < static_cast<int>(lines_.size()); ++i) {
        int line = first_ + i;
        Rect box = lineRect(i);
        Color text = style_.text;
        if (line == selected_) {
            context.setColor(style_.highlight);
            context.fillRect(box);
            text = style_.background;
        } else if (line == hover_) {
            context.setColor(style_.highlight.withAlpha(50));
            context.fillRect(box);
        }
        context.drawText(lines_[line].c_str(), box.inset(2, 0), Align::kLeft, style_.font, text);
    }
    if (!hasScrollBar()) return;
    Rect up = upArrowRect();
    Rect down = downArrowRect();
    context.setColor(style_.text.withAlpha(40));
    context.fillRect({up.left, up.top, up.right, down.bottom});
    context.setColor(style_.text);
    context.drawText("^", up, Align::kCenter, style_.font, style_.text);
    context.drawText("v", down, Align::kCenter, style_.font, style_.text);
    context.fillRect(thumbRect());
}

bool ListMenu::onMouseDown(const MouseEvent& event) {
    if (!getRect().contains(event.where)) {
        close();
        return true;
    }
    if (hasScrollBar()) {
        if (upArrowRect().contains(event.where)) {
            scrollTo(first_ - 1);
            return true;
        }
        if (downArrowRect().contains(event.where)) {
            scrollTo(first_ + 1);
            return true;
        }
        Rect thumb = thumbRect();
        if (event.where.x >= thumb.left - 1 && event.where.x < thumb.right + 1) {
            if (thumb.contains({thumb.left, event.where.y})) {
                draggingThumb_ = true;
                thumbGrabOffset_ = event.where.y - thumb.top;
            } else {
                // A click on the track pages towards it.
                int page = getVisibleLines();
                scrollTo(event.where.y < thumb.top ? first_ - page : first_ + page);
            }
            return true;
        }
    }
    for (int i = 0; i < getVisibleLines(); ++i) {
        if (lineRect(i).contains(event.where) && first_ + i < static_cast<int>(lines_.size())) {
            choose(first_ + i);
            return true;
        }
    }
    return true;
}

void ListMenu::onMouseMoved(const MouseEvent& event) {
    if (draggingThumb_) {
        Rect up = upArrowRect();
        Rect down = downArrowRect();
        Rect thumb = thumbRect();
        int travel = std::max(1, down.top - up.bottom - thumb.height());
        int last = std::max(0, static_cast<int>(lines_.size()) - getVisibleLines());
        int top = event.where.y - thumbGrabOffset_ - up.bottom;
        scrollTo((top * last + travel / 2) / travel);
        return;
    }
    int hover = -1;
    for (int i = 0; i < getVisibleLines(); ++i) {
        if (lineRect(i).contains(event.where)) hover = first_ + i;
    }
    if (hover != hover_) {
        hover_ = hover;
        invalid();
    }
}

void ListMenu::onMouseUp(const MouseEvent& /*event*/) {
    draggingThumb_ = false;
}

bool ListMenu::onWheel(const MouseEvent& /*event*/, float steps) {
    scrollTo(first_ - static_cast<int>(steps));
    return true;
}

void ListMenu::choose(int line) {
    // The callback runs after the list has left the screen, so it may open another.
    auto onChoice = onChoice_;
    close();
    if (onChoice) onChoice(line);
}

void ListMenu::close() {
    if (Frame* frame = getFrame(); frame != nullptr && frame->getModalView() == this) {
        frame->closeModal();
    }
}

}  // namespace kirra::gui
