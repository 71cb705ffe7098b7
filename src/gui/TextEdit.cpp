#include "gui/TextEdit.h"

#include "gui/Frame.h"

namespace kirra::gui {

void TextEdit::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    invalid();
}

void TextEdit::startEntry(const std::string& initial) {
    entry_ = initial.substr(0, maxLength_);
    caret_ = static_cast<int>(entry_.size());
    entering_ = true;
    replaceAll_ = true;
    if (Frame* frame = getFrame()) frame->setFocusView(this);
    invalid();
}

void TextEdit::commitEntry() {
    if (!entering_) return;
    entering_ = false;
    std::string entry = entry_;
    if (Frame* frame = getFrame(); frame != nullptr && frame->getFocusView() == this) {
        frame->setFocusView(nullptr);
    }
    invalid();
    entryCommitted(entry);
}

void TextEdit::cancelEntry() {
    if (!entering_) return;
    entering_ = false;
    if (Frame* frame = getFrame(); frame != nullptr && frame->getFocusView() == this) {
        frame->setFocusView(nullptr);
    }
    invalid();
}

void TextEdit::entryCommitted(const std::string& entry) {
    setText(entry);
    changeValue(getValue());
}

bool TextEdit::onKeyDown(const KeyEvent& event) {
    if (!entering_) return false;
    int length = static_cast<int>(entry_.size());
    switch (event.key) {
        case Key::kReturn:
            commitEntry();
            return true;
        case Key::kEscape:
            cancelEntry();
            return true;
        case Key::kBackSpace:
            if (replaceAll_) {
                entry_.clear();
                caret_ = 0;
            } else if (caret_ > 0) {
                entry_.erase(--caret_, 1);
            }
            break;
        case Key::kDelete:
            if (replaceAll_) {
                entry_.clear();
                caret_ = 0;
            } else if (caret_ < length) {
                entry_.erase(caret_, 1);
            }
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
            if (event.character < 32 || event.character > 126) return true;
            if (replaceAll_) {
                entry_.clear();
                caret_ = 0;
            }
            if (static_cast<int>(entry_.size()) >= maxLength_) return true;
            entry_.insert(entry_.begin() + caret_, static_cast<char>(event.character));
            ++caret_;
            break;
        default:
            return true;
    }
    replaceAll_ = false;
    invalid();
    return true;
}

void TextEdit::onFocusLost() {
    commitEntry();
}

void TextEdit::draw(DrawContext& context) {
    Font font;
    if (entering_) {
        drawEntry(context, font, {20, 24, 24}, {210, 217, 223});
        return;
    }
    context.drawText(text_.c_str(), getRect(), Align::kLeft, font, {210, 217, 223});
}

void TextEdit::drawEntry(DrawContext& context, const Font& font, Color text, Color background) {
    Rect box = entryBox();
    context.setColor(background);
    context.fillRect(box);
    Rect inner = box.inset(2, 0);
    // Long entries scroll so that the caret stays in view.
    std::string before = entry_.substr(0, caret_);
    double caretX = context.textWidth(before.c_str(), font);
    double shift = caretX > inner.width() - 2 ? caretX - (inner.width() - 2) : 0.0;
    context.save();
    context.clip(inner);
    if (replaceAll_ && !entry_.empty()) {
        // The whole entry is selected until the first key.
        double width = context.textWidth(entry_.c_str(), font);
        context.setColor(text.withAlpha(60));
        context.fillRect({inner.left, inner.top + 1,
                          inner.left + static_cast<int>(width - shift) + 1, inner.bottom - 1});
    }
    Rect textBox = inner.offset(-static_cast<int>(shift), 0);
    textBox.right += static_cast<int>(shift);
    context.drawText(entry_.c_str(), textBox, Align::kLeft, font, text);
    int x = inner.left + static_cast<int>(caretX - shift);
    context.setColor(text);
    context.setLineWidth(1.0);
    context.drawLine(x, inner.top + 1, x, inner.bottom - 2);
    context.restore();
}

}  // namespace kirra::gui
