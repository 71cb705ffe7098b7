#include "gui/TextEdit.h"

#include "gui/Frame.h"

namespace kirra::gui {

void TextEdit::setText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    invalid();
}

void TextEdit::startEntry(const std::string& initial, int maxLength) {
    editor_.start(initial, maxLength);
    if (Frame* frame = getFrame()) frame->setFocusView(this);
    invalid();
}

void TextEdit::releaseFocus() {
    if (Frame* frame = getFrame(); frame != nullptr && frame->getFocusView() == this) {
        frame->setFocusView(nullptr);
    }
    invalid();
}

void TextEdit::commitEntry() {
    if (!editor_.isActive()) return;
    editor_.stop();
    std::string entry = editor_.text();
    releaseFocus();
    entryCommitted(entry);
}

void TextEdit::cancelEntry() {
    if (!editor_.isActive()) return;
    editor_.stop();
    releaseFocus();
}

void TextEdit::entryCommitted(const std::string& entry) {
    setText(entry);
    changeValue(getValue());
}

bool TextEdit::onKeyDown(const KeyEvent& event) {
    if (!editor_.isActive()) return Control::onKeyDown(event);
    LineEditor::Result result = editor_.handleKey(event);
    if (result == LineEditor::Result::kCommit) {
        std::string entry = editor_.text();
        releaseFocus();
        entryCommitted(entry);
    } else if (result == LineEditor::Result::kCancel) {
        releaseFocus();
    } else {
        invalid();
    }
    return true;
}

void TextEdit::onFocusLost() {
    commitEntry();
}

void TextEdit::draw(DrawContext& context) {
    if (isEntering()) {
        drawEntry(context);
        return;
    }
    context.drawText(text_.c_str(), getRect(), Align::kLeft, style_.font, style_.text);
}

void TextEdit::drawEntry(DrawContext& context) const {
    editor_.draw(context, entryBox(), style_.font, style_.entryText, style_.entryBackground);
}

}  // namespace kirra::gui
