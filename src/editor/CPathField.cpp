#include "editor/CPathField.h"

#include "editor/CTextPrinter.h"
#include "gui/Frame.h"

namespace kirra::editor {

using gui::Rect;

CPathField::CPathField(const Rect& rect, const Texts& texts,
                       std::function<void(const std::string&)> onEnter)
    : View(rect), title_(texts.title), hint_(texts.hint), onEnter_(std::move(onEnter)) {
    entry_.start(texts.initial, texts.maxLength);
}

void CPathField::draw(gui::DrawContext& context) {
    const Rect& rect = getRect();
    context.setColor(Skin::kScreen);
    context.fillRect(rect);
    context.setColor(Skin::kLight.withAlpha(160));
    context.setLineWidth(1.0);
    context.frameRect(rect);
    CTextPrinter::print(context, title_.c_str(),
                        {rect.left + 4, rect.top + 4, rect.right - 4, rect.top + 16},
                        gui::Align::kLeft, CTextPrinter::Style::kNormal, Skin::captionFont());
    // Two lines, so that a hint wider than the box is never cut.
    const size_t lineBreak = hint_.find('\n');
    const std::string lines[2] = {hint_.substr(0, lineBreak), lineBreak == std::string::npos
                                                                  ? ""
                                                                  : hint_.substr(lineBreak + 1)};
    for (int line = 0; line < 2; ++line) {
        const int top = rect.top + 18 + 10 * line;
        CTextPrinter::print(context, lines[line].c_str(),
                            {rect.left + 4, top, rect.right - 4, top + 10}, gui::Align::kLeft,
                            CTextPrinter::Style::kDimmed, Skin::smallFont());
    }
    entry_.draw(context, {rect.left + 4, rect.top + 40, rect.right - 4, rect.top + 52},
                Skin::textFont(), Skin::kDark, Skin::kLight);
    CTextPrinter::print(context, "Return: go    Escape: cancel",
                        {rect.left + 4, rect.top + 56, rect.right - 4, rect.top + 66},
                        gui::Align::kLeft, CTextPrinter::Style::kDimmed, Skin::smallFont());
}

bool CPathField::onMouseDown(const gui::MouseEvent& event) {
    if (!getRect().contains(event.where)) close();
    return true;
}

bool CPathField::onKeyDown(const gui::KeyEvent& event) {
    gui::LineEditor::Result result = entry_.handleKey(event);
    if (result == gui::LineEditor::Result::kCommit) {
        std::string path = entry_.text();
        auto onEnter = onEnter_;
        close();
        if (onEnter) onEnter(path);
    } else if (result == gui::LineEditor::Result::kCancel) {
        close();
    } else {
        invalid();
    }
    return true;
}

void CPathField::close() {
    if (gui::Frame* frame = getFrame(); frame != nullptr && frame->getModalView() == this) {
        frame->setFocusView(nullptr);
        frame->closeModal();
    }
}

}  // namespace kirra::editor
