#include "gui/LineEditor.h"

namespace kirra::gui {

void LineEditor::start(const std::string& initial, int maxLength) {
    maxLength_ = maxLength > 0 ? maxLength : 0;
    text_ = initial.substr(0, maxLength_);
    caret_ = static_cast<int>(text_.size());
    active_ = true;
    replaceAll_ = true;
}

LineEditor::Result LineEditor::handleKey(const KeyEvent& event) {
    if (!active_) return Result::kEditing;
    int length = static_cast<int>(text_.size());
    bool clears = replaceAll_ && (event.key == Key::kBackSpace || event.key == Key::kDelete ||
                                  event.key == Key::kCharacter);
    if (clears) {
        text_.clear();
        caret_ = length = 0;
    }
    switch (event.key) {
        case Key::kReturn:
            active_ = false;
            return Result::kCommit;
        case Key::kEscape:
            active_ = false;
            return Result::kCancel;
        case Key::kBackSpace:
            if (!clears && caret_ > 0) text_.erase(--caret_, 1);
            break;
        case Key::kDelete:
            if (!clears && caret_ < length) text_.erase(caret_, 1);
            break;
        case Key::kLeft:
            if (caret_ > 0) --caret_;
            break;
        case Key::kRight:
            if (caret_ < length) ++caret_;
            break;
        case Key::kHome:
            caret_ = 0;
            break;
        case Key::kEnd:
            caret_ = length;
            break;
        case Key::kCharacter:
            // Printable ASCII only: control characters and anything the font cannot show are
            // dropped, whatever the keyboard or a paste delivers.
            if (event.character >= 32 && event.character <= 126 && length < maxLength_) {
                text_.insert(text_.begin() + caret_, static_cast<char>(event.character));
                ++caret_;
            }
            break;
        default:
            return Result::kEditing;
    }
    replaceAll_ = false;
    return Result::kEditing;
}

void LineEditor::draw(DrawContext& context, const Rect& box, const Font& font, Color textColor,
                      Color background) const {
    context.setColor(background);
    context.fillRect(box);
    Rect inner = box.inset(2, 0);
    // Long entries scroll so that the caret stays in view.
    std::string before = text_.substr(0, caret_);
    double caretX = context.textWidth(before.c_str(), font);
    int shift = caretX > inner.width() - 2 ? static_cast<int>(caretX) - (inner.width() - 2) : 0;
    context.save();
    context.clip(inner);
    if (replaceAll_ && !text_.empty()) {
        int width = static_cast<int>(context.textWidth(text_.c_str(), font));
        context.setColor(textColor.withAlpha(60));
        context.fillRect(
            {inner.left, inner.top + 1, inner.left + width - shift + 1, inner.bottom - 1});
    }
    Rect textBox{inner.left - shift, inner.top, inner.right, inner.bottom};
    context.drawText(text_.c_str(), textBox, Align::kLeft, font, textColor);
    int x = inner.left + static_cast<int>(caretX) - shift;
    context.setColor(textColor);
    context.setLineWidth(1.0);
    context.drawLine(x, inner.top + 1, x, inner.bottom - 2);
    context.restore();
}

}  // namespace kirra::gui
