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
    Rect area = listArea();
    scroll_.setGeometry({area.right - ScrollBar::kWidth, area.top, area.right, area.bottom},
                        static_cast<int>(lines_.size()), getVisibleLines());
    // Opens with the chosen line in view, in the middle where possible.
    scroll_.scrollTo(selected_ - getVisibleLines() / 2);
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
    if (scroll_.scrollTo(first)) invalid();
}

Rect ListMenu::lineRect(int visibleIndex) const {
    Rect area = listArea();
    int right = hasScrollBar() ? area.right - ScrollBar::kWidth : area.right;
    int top = area.top + visibleIndex * style_.lineHeight;
    return {area.left, top, right, top + style_.lineHeight};
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
    int first = scroll_.first();
    int visible = getVisibleLines();
    for (int i = 0; i < visible && first + i < static_cast<int>(lines_.size()); ++i) {
        int line = first + i;
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
    scroll_.draw(context, style_.text, style_.greyed, style_.font);
}

bool ListMenu::onMouseDown(const MouseEvent& event) {
    if (!getRect().contains(event.where)) {
        close();
        return true;
    }
    if (scroll_.mouseDown(event.where)) {
        invalid();
        return true;
    }
    for (int i = 0; i < getVisibleLines(); ++i) {
        int line = scroll_.first() + i;
        if (lineRect(i).contains(event.where) && line < static_cast<int>(lines_.size())) {
            choose(line);
            return true;
        }
    }
    return true;
}

void ListMenu::onMouseMoved(const MouseEvent& event) {
    if (scroll_.mouseMoved(event.where)) {
        invalid();
        return;
    }
    int hover = -1;
    for (int i = 0; i < getVisibleLines(); ++i) {
        if (lineRect(i).contains(event.where)) hover = scroll_.first() + i;
    }
    if (hover != hover_) {
        hover_ = hover;
        invalid();
    }
}

void ListMenu::onMouseUp(const MouseEvent& /*event*/) {
    scroll_.mouseUp();
}

bool ListMenu::onWheel(const MouseEvent& /*event*/, float steps) {
    scrollTo(scroll_.first() - static_cast<int>(steps));
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
