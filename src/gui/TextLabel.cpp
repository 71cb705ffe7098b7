#include "gui/TextLabel.h"

namespace kirra::gui {

void TextLabel::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    invalid();
}

void TextLabel::draw(DrawContext& context) {
    context.drawText(text_.c_str(), getRect(), align_, font_, color_);
}

}  // namespace kirra::gui
