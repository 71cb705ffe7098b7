#include "gui/OptionMenu.h"

#include <memory>

#include "gui/Frame.h"

namespace kirra::gui {

OptionMenu::OptionMenu(const Rect& rect, ControlListener* listener, int tag,
                       std::vector<std::string> entries, ListMenuStyle style)
    : Control(rect, listener, tag), entries_(std::move(entries)), style_(style) {
    if (entries_.empty()) entries_.push_back("");
}

int OptionMenu::getIndex() const {
    int count = getEntryCount();
    int index = static_cast<int>(getValue() * count);
    return index >= count ? count - 1 : index;
}

void OptionMenu::setIndex(int index) {
    setValue((index + 0.5f) / getEntryCount());
}

void OptionMenu::draw(DrawContext& context) {
    context.drawText(entries_[getIndex()].c_str(), getRect(), Align::kLeft, style_.font,
                     style_.text);
}

bool OptionMenu::onMouseDown(const MouseEvent& event) {
    Frame* frame = getFrame();
    if (!event.isLeft() || frame == nullptr) return false;
    const Rect& rect = getRect();
    int height = getEntryCount() * style_.lineHeight + 2;
    Rect listRect{rect.left, rect.bottom, rect.right, rect.bottom + height};
    // Opens upward when there is no room below.
    if (listRect.bottom > frame->height()) listRect = listRect.offset(0, -height - rect.height());
    frame->showModal(
        std::make_unique<ListMenu>(listRect, "", entries_, getIndex(), style_, [this](int index) {
            setIndex(index);
            changeValue(getValue());
        }));
    return true;
}

}  // namespace kirra::gui
